#include "app/dialogs/worker_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include "app/message_box.h"
#include "log/trace_log.h"

namespace kestrel::app {

namespace {

bool& fail_next_start() {
    static bool fail = false;
    return fail;
}

}  // namespace

void expect_gui_thread(const char* where) {
    if (QThread::currentThread() == QCoreApplication::instance()->thread()) return;
    std::fprintf(stderr, "kestrel: %s ran off the GUI thread\n", where);
    std::abort();
}

worker_dialog::worker_dialog(const QString& title, QWidget* parent)
    : QDialog(parent), poll_timer_(new QTimer(this)) {
    setWindowTitle(title);
    setModal(true);
    poll_timer_->setInterval(poll_interval);
    connect(poll_timer_, &QTimer::timeout, this, [this] {
        expect_gui_thread("worker_dialog::poll");
        poll();
    });
    // Queued: the slot runs on the GUI thread after everything the worker posted before.
    connect(this, &worker_dialog::work_ended, this, &worker_dialog::end_worker, Qt::QueuedConnection);
}

void worker_dialog::lay_out_waiting(const QString& what, QLabel* progress) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(what, this));
    layout->addWidget(progress);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &worker_dialog::reject);
    layout->addWidget(buttons);
}

worker_dialog::~worker_dialog() {
    if (worker_.joinable()) worker_.join();
}

void worker_dialog::cancel_and_join() {
    if (!worker_.joinable()) return;
    while (!work_done_.load()) {
        cancel();
        std::this_thread::sleep_for(poll_interval / 2);
    }
    worker_.join();
}

void worker_dialog::fail_next_start_for_testing(bool fail) {
    fail_next_start() = fail;
}

void worker_dialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_) return;
    started_ = true;
    // Queued, so that the dialog is on screen before the work begins.
    QMetaObject::invokeMethod(this, &worker_dialog::start_worker, Qt::QueuedConnection);
}

void worker_dialog::start_worker() {
    try {
        if (fail_next_start()) {
            fail_next_start() = false;
            throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
        }
        worker_ = std::thread([this] {
            const int exit_code = work();
            work_done_.store(true);
            emit work_ended(exit_code);
        });
    } catch (const std::system_error& e) {
        global_trace().log(0, "worker thread not started: %s", e.what());
        show_message(this, QStringLiteral("Failed to create thread"));
        QDialog::done(no_worker);
        return;
    }
    poll_timer_->start();
}

void worker_dialog::end_worker(int exit_code) {
    expect_gui_thread("worker_dialog::end_worker");
    worker_.join();
    poll_timer_->stop();
    poll();
    worker_ended(exit_code);
    ended_ = true;
    exit_code_ = exit_code;
    if (messages_showing_ == 0) finish();
}

void worker_dialog::finish() {
    QDialog::done(exit_code_);
}

void worker_dialog::reject() {
    expect_gui_thread("worker_dialog::reject");
    if (worker_.joinable()) cancel();
}

void worker_dialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    reject();
}

void worker_dialog::post(std::function<void()> task) {
    QMetaObject::invokeMethod(
        this,
        [task = std::move(task)] {
            expect_gui_thread("worker_dialog::post");
            task();
        },
        Qt::QueuedConnection);
}

void worker_dialog::post_message(const QString& text) {
    post([this, text] {
        ++messages_showing_;
        show_message(this, text);
        --messages_showing_;
        if (ended_ && messages_showing_ == 0) finish();
    });
}

}  // namespace kestrel::app
