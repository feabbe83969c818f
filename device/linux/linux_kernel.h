#pragma once

#include <poll.h>
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <utility>

namespace kestrel {

// The system calls of the Linux DVB card, behind one interface so that tests can put a
// fake kernel in their place. Each behaves as the system call of its name: -1 with errno
// set on failure. The clock is here too, so that the card's sleeps can be faked.
class linux_kernel {
  public:
    virtual ~linux_kernel() = default;
    virtual int open(const char* path, int flags) = 0;
    virtual int close(int fd) = 0;
    virtual int ioctl(int fd, unsigned long request, void* argument) = 0;
    virtual int poll(pollfd* fds, nfds_t count, int timeout_ms) = 0;
    virtual ssize_t read(int fd, void* buffer, std::size_t size) = 0;
    virtual std::uint64_t now_ms() = 0;  // monotonic
    virtual void sleep_ms(std::uint32_t ms) = 0;
};

// The running system's kernel.
linux_kernel& system_kernel();

// The outcome of one call: its value, or the errno saved straight after it failed, and the
// call's name (the ioctl's, for an ioctl) for the error message.
struct call_result {
    long value = 0;
    int error = 0;
    const char* call = "";

    bool ok() const { return error == 0; }
};

// Makes the calls: retries those interrupted by a signal and keeps errno.
class system_calls {
  public:
    explicit system_calls(linux_kernel& kernel) : kernel_(kernel) {}

    call_result open(const char* path, int flags);
    call_result close(int fd);
    call_result ioctl(int fd, unsigned long request, void* argument, const char* name);
    call_result poll(pollfd* fds, nfds_t count, int timeout_ms);
    call_result read(int fd, void* buffer, std::size_t size);
    std::uint64_t now_ms() { return kernel_.now_ms(); }
    void sleep_ms(std::uint32_t ms) { kernel_.sleep_ms(ms); }

  private:
    linux_kernel& kernel_;
};

// A descriptor that closes itself; move-only.
class file_descriptor {
  public:
    file_descriptor() = default;
    file_descriptor(system_calls& calls, int fd) : calls_(&calls), fd_(fd) {}
    file_descriptor(file_descriptor&& other) noexcept { *this = std::move(other); }
    file_descriptor& operator=(file_descriptor&& other) noexcept;
    file_descriptor(const file_descriptor&) = delete;
    file_descriptor& operator=(const file_descriptor&) = delete;
    ~file_descriptor() { reset(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset();

  private:
    system_calls* calls_ = nullptr;
    int fd_ = -1;
};

}  // namespace kestrel
