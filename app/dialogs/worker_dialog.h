#pragma once

// The one shape of every long operation (a scan, an export, a recording): a modal dialog
// that owns one worker thread.
//
// Conventions:
// - The worker starts when the dialog is first shown and runs work() on its own thread.
//   Its last act is one queued signal with work()'s result; the slot joins the thread and
//   ends the dialog with that result, so exec() returns the worker's exit code.
// - Escape, the Cancel button and closing the window call cancel() on the GUI thread and
//   never close the dialog while the worker runs. cancel() must not wait for the worker.
// - A worker that cannot start shows "Failed to create thread" and ends the dialog with
//   no_worker.
// - While the worker runs, poll() runs on the GUI thread every poll_interval: counters the
//   worker or the card's delivery thread keep in atomics are shown from there.
// - The worker reaches the GUI thread only through post(): messages for the user are shown
//   by the GUI thread, and the dialog ends only after the last of them was closed.
// - Widgets are touched on the GUI thread only; expect_gui_thread() checks it in poll(),
//   in every posted task and at the end.

#include <QDialog>
#include <QString>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

class QLabel;
class QTimer;

namespace kestrel::app {

// Aborts, naming `where`, when not called on the GUI thread.
void expect_gui_thread(const char* where);

class worker_dialog : public QDialog {
    Q_OBJECT

  public:
    static constexpr int no_worker = -2;
    static constexpr std::chrono::milliseconds poll_interval{250};

    worker_dialog(const QString& title, QWidget* parent);
    // A derived dialog whose worker may outlive its event loop (the program quit meanwhile)
    // calls cancel_and_join() first in its destructor, before its members go.
    ~worker_dialog() override;

    bool worker_running() const { return worker_.joinable(); }

    // The user's Cancel: Escape and closing the window come here too.
    void reject() override;

    // Tests: while set, the next worker start fails as if the system had refused the thread.
    static void fail_next_start_for_testing(bool fail);

  signals:
    void work_ended(int exit_code);

  protected:
    virtual int work() = 0;            // on the worker thread
    virtual void cancel() = 0;         // on the GUI thread, while the worker runs
    virtual void poll() {}             // on the GUI thread, every poll_interval and once at the end
    virtual void worker_ended(int) {}  // on the GUI thread, once the worker is joined

    // From the worker: runs `task` on the GUI thread (queued, in order).
    void post(std::function<void()> task);
    // From the worker: a message box on the GUI thread.
    void post_message(const QString& text);

    // The layout of a dialog that only waits: what it does, `progress` below it, Cancel.
    void lay_out_waiting(const QString& what, QLabel* progress);

    // cancel() until the worker has ended, then the join.
    void cancel_and_join();

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void start_worker();
    void end_worker(int exit_code);
    void finish();

    std::thread worker_;
    std::atomic<bool> work_done_{false};
    QTimer* poll_timer_;
    bool started_ = false;
    int messages_showing_ = 0;
    bool ended_ = false;
    int exit_code_ = 0;
};

}  // namespace kestrel::app
