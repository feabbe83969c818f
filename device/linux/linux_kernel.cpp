#include "device/linux/linux_kernel.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>
#include <utility>

namespace kestrel {

namespace {

class real_kernel final : public linux_kernel {
  public:
    int open(const char* path, int flags) override { return ::open(path, flags); }
    int close(int fd) override { return ::close(fd); }
    int ioctl(int fd, unsigned long request, void* argument) override {
        return ::ioctl(fd, request, argument);
    }
    int poll(pollfd* fds, nfds_t count, int timeout_ms) override { return ::poll(fds, count, timeout_ms); }
    ssize_t read(int fd, void* buffer, std::size_t size) override { return ::read(fd, buffer, size); }
    std::uint64_t now_ms() override {
        using namespace std::chrono;
        return static_cast<std::uint64_t>(
            duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
    }
    void sleep_ms(std::uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

// Runs a call until it is not interrupted, saving errno before anything else can touch it.
template <typename Call>
call_result retrying(const char* name, Call call) {
    for (;;) {
        errno = 0;
        const long value = call();
        const int error = errno;
        if (value >= 0) return {value, 0, name};
        if (error != EINTR) return {value, error != 0 ? error : EIO, name};
    }
}

}  // namespace

linux_kernel& system_kernel() {
    static real_kernel kernel;
    return kernel;
}

call_result system_calls::open(const char* path, int flags) {
    return retrying("open", [&] { return kernel_.open(path, flags); });
}

call_result system_calls::close(int fd) {
    // A close interrupted by a signal has closed the descriptor on Linux: never retry it.
    errno = 0;
    const int value = kernel_.close(fd);
    const int error = errno;
    return {value, value < 0 && error != EINTR ? error : 0, "close"};
}

call_result system_calls::ioctl(int fd, unsigned long request, void* argument, const char* name) {
    return retrying(name, [&] { return kernel_.ioctl(fd, request, argument); });
}

call_result system_calls::poll(pollfd* fds, nfds_t count, int timeout_ms) {
    return retrying("poll", [&] { return kernel_.poll(fds, count, timeout_ms); });
}

call_result system_calls::read(int fd, void* buffer, std::size_t size) {
    return retrying("read", [&] { return static_cast<long>(kernel_.read(fd, buffer, size)); });
}

file_descriptor& file_descriptor::operator=(file_descriptor&& other) noexcept {
    if (this != &other) {
        reset();
        calls_ = std::exchange(other.calls_, nullptr);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void file_descriptor::reset() {
    if (fd_ >= 0 && calls_ != nullptr) calls_->close(fd_);
    fd_ = -1;
}

}  // namespace kestrel
