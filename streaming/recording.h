#pragma once

// The PID recording engine that the streaming dialogs and `kestrel-cli record` share: a
// single PID recorded into one file through the device's stream operation, or up to 32
// PIDs at once, each into its own file through one file filter per PID.
//
// Threads and who calls what:
// - The owner (a dialog, the CLI) constructs a recording and calls start() once. The
//   recording runs on a worker thread it owns: the worker starts the filters, waits until
//   they are stopped, stops every filter once more so that no callback runs any more,
//   closes the files, fills in the outcomes and then calls the completion notice once,
//   on the worker. The destructor cancels a recording still running and joins the worker.
// - cancel() may come from any thread, at any moment, also while the worker is still
//   starting the filters; it ends the recording soon and never waits for the user
//   interface. A cancel after the recording ended does nothing, so it never stops the
//   filters of whatever uses the device next.
// - The filters' callbacks run on the card's delivery thread and only add to 64-bit atomic
//   counters: no lock, no allocation, no message. The owner polls the counters on a timer
//   (every 250-500 ms); they are readable from any thread at any time.
// - outcomes() is valid once finished() is true (after the completion notice).
//
// What ends a recording: cancel(), a time-out the owner arms on the card's clock (its
// routine calls cancel() or the device's stop_filter()), or, on a capture card, the end of
// one pass of the capture.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/dvb_device.h"

namespace kestrel::streaming {

inline constexpr std::size_t max_pids = 32;
inline constexpr int empty_pid = 0x1FFF;  // an unused entry of the PID list

// A PID that can be recorded: 0 to 0x1FFE, or whole_stream_pid for every packet.
inline bool recordable_pid(int pid) {
    return (pid >= 0 && pid < empty_pid) || pid == whole_stream_pid;
}
inline constexpr const char* recordable_pids = "0x0000 to 0x1FFE, or 0x2000 for the whole stream";

// What became of one PID once the recording ended.
struct pid_outcome {
    int pid = empty_pid;
    std::string file;  // "" when the PID never got a file
    std::uint64_t bytes = 0;
    std::string error;  // "" when every delivered byte is in the file
};

// Called once, on the worker, when the recording has ended.
using completion_notice = std::function<void()>;

// The worker, the cancel and the notice that both kinds of recording share.
class recording {
  public:
    virtual ~recording();
    recording(const recording&) = delete;
    recording& operator=(const recording&) = delete;

    void start();
    void cancel();
    // Blocks until the worker has ended (the notice has been called).
    void join();
    bool finished() const { return finished_.load(); }
    const std::vector<pid_outcome>& outcomes() const { return outcomes_; }
    // Every byte delivered so far, all PIDs together.
    std::uint64_t bytes_read() const { return bytes_.load(std::memory_order_relaxed); }

  protected:
    recording(dvb_device& device, completion_notice notice);
    // The worker's work; it fills outcomes_.
    virtual void work() = 0;
    // True once a cancel came: the worker does not start what it has not started yet.
    bool cancelled() const { return cancelled_.load(); }
    // Stops the recording for a cancel; called with the cancel lock held.
    virtual void stop_for_cancel();
    // Joins the worker; called first by every derived destructor.
    void end_worker();

    dvb_device& device_;
    std::atomic<std::uint64_t> bytes_{0};
    std::vector<pid_outcome> outcomes_;

  private:
    completion_notice notice_;
    std::mutex cancel_lock_;  // a cancel and the end of the worker never cross
    bool over_ = false;       // the worker is past its last stop; guarded by cancel_lock_
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> finished_{false};
    std::thread worker_;
};

// The file name of one PID of a multiple PID recording: "_%04X" of the PID inserted before
// the last '.' of the base's file name, or appended when the file name has none. Folders
// are left as they are ("/x/a.b/rec" and 0x0100 give "/x/a.b/rec_0100").
std::string output_name(const std::string& base, int pid);

// The PID list of a multiple PID recording checked: the PIDs to record, in order, and one
// message for each entry refused (a PID out of range, a PID given twice, more than 32).
// Entries of 0x1FFF are skipped.
struct pid_plan {
    std::vector<int> pids;
    std::vector<std::string> refused;
};
pid_plan plan_pids(std::span<const int> entries);

// Records each PID of the list into its own file (output_name), until stopped.
class multi_pid_recording final : public recording {
  public:
    class Stream;

    multi_pid_recording(dvb_device& device, std::string base_name, std::span<const int> pids,
                        completion_notice notice = {});
    ~multi_pid_recording() override;

    // The PIDs being recorded, in order, and the bytes each has received so far.
    const std::vector<int>& pids() const { return plan_.pids; }
    std::uint64_t pid_bytes(std::size_t index) const {
        return pid_bytes_[index].load(std::memory_order_relaxed);
    }

  private:
    void work() override;
    void _thread();
    void init_streaminfo();

    std::string base_name_;
    pid_plan plan_;
    std::array<std::atomic<std::uint64_t>, max_pids> pid_bytes_{};
    std::vector<std::unique_ptr<Stream>> streams_;  // the worker's alone
};

// Records one PID into one file through the device's stream operation, with the transfer
// rate of the card's clock.
class single_pid_recording final : public recording {
  public:
    single_pid_recording(dvb_device& device, std::string file_name, int pid, int buffer_size = 8192,
                         completion_notice notice = {});
    ~single_pid_recording() override;

    // Bytes per millisecond of the card's clock (kilobytes per second), as of the last
    // delivery; 0 before a delivery came after the first millisecond.
    std::uint64_t rate() const { return rate_.load(std::memory_order_relaxed); }

    // Called for every delivery; public for the tests that feed deliveries by hand.
    static void on_delivery(void* context, std::int32_t length, const std::uint8_t* data);

  private:
    void work() override;
    void stop_for_cancel() override;

    std::string file_name_;
    int pid_;
    int buffer_size_;
    std::atomic<std::uint64_t> start_ms_{0};
    std::atomic<std::uint64_t> rate_{0};
};

// "%lu kb/s" of a rate, as the progress shows it.
std::string rate_text(std::uint64_t rate);

}  // namespace kestrel::streaming
