#include "cli/interrupt.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

namespace kestrel::cli {

namespace {

constexpr char signal_byte = 's';
constexpr char quit_byte = 'q';
constexpr int watched[] = {SIGINT, SIGTERM};

std::atomic<int> signal_pipe{-1};

extern "C" void on_signal(int) {
    const int saved = errno;
    const char byte = signal_byte;
    if (const int fd = signal_pipe.load(); fd >= 0) (void)!write(fd, &byte, 1);
    errno = saved;
}

void set_handler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : watched)
        sigaction(s, &action, nullptr);
}

}  // namespace

interrupt_watch::interrupt_watch(std::function<void()> on_interrupt)
    : on_interrupt_(std::move(on_interrupt)) {
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("kestrel-cli: no Ctrl-C handling (pipe)");
        return;
    }
    signal_pipe.store(pipe_[1]);
    set_handler(on_signal);
    watcher_ = std::thread([this] { watch(); });
}

interrupt_watch::~interrupt_watch() {
    if (pipe_[1] < 0) return;
    set_handler(SIG_DFL);
    signal_pipe.store(-1);
    const char byte = quit_byte;
    (void)!write(pipe_[1], &byte, 1);
    watcher_.join();
    close(pipe_[0]);
    close(pipe_[1]);
}

void interrupt_watch::watch() {
    for (;;) {
        pollfd p{pipe_[0], POLLIN, 0};
        if (poll(&p, 1, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        char byte = 0;
        while (read(pipe_[0], &byte, 1) == 1) {
            if (byte == quit_byte) return;
            if (interrupted_.exchange(true)) continue;
            set_handler(SIG_DFL);  // a second Ctrl-C ends the program at once
            if (on_interrupt_) on_interrupt_();
        }
    }
}

}  // namespace kestrel::cli
