#include "log/log_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kestrel {

bool log_file::open(const std::string& path, bool truncate) {
    close();
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND);
    do {
        fd_ = ::open(path.c_str(), flags, 0666);
    } while (fd_ < 0 && errno == EINTR);
    return fd_ >= 0;
}

bool log_file::is_empty() const {
    struct stat status {};
    return fd_ >= 0 && ::fstat(fd_, &status) == 0 && status.st_size == 0;
}

void log_file::write(std::string_view line) const {
    if (fd_ < 0) return;
    while (::write(fd_, line.data(), line.size()) < 0 && errno == EINTR) {
    }
}

void log_file::close() {
    if (fd_ < 0) return;
    ::close(fd_);
    fd_ = -1;
}

}  // namespace kestrel
