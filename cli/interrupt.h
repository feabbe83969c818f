#pragma once

// Ctrl-C (SIGINT) and SIGTERM for the long commands (scan, record). The signal handler
// only writes a byte to a pipe; a watcher thread owned by this object reads it and runs
// the command's stop action there, off the handler (typically the device's stop of all
// filters). A second signal ends the program at once, as it would without the watch.
//
// One watch at a time. Construct it before the work starts; the destructor puts the old
// handlers back and joins the watcher.

#include <atomic>
#include <functional>
#include <thread>

namespace kestrel::cli {

class interrupt_watch {
  public:
    explicit interrupt_watch(std::function<void()> on_interrupt);
    ~interrupt_watch();
    interrupt_watch(const interrupt_watch&) = delete;
    interrupt_watch& operator=(const interrupt_watch&) = delete;

    // True once a signal came (and the stop action has begun).
    bool interrupted() const { return interrupted_.load(); }

  private:
    void watch();

    std::function<void()> on_interrupt_;
    std::atomic<bool> interrupted_{false};
    int pipe_[2] = {-1, -1};
    std::thread watcher_;
};

}  // namespace kestrel::cli
