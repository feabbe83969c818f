#include "ts/capture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kestrel::ts {

namespace {
// Room for the bytes a block may leave over: at most a few units while sync is confirmed.
constexpr std::size_t carry_capacity = 4096;

std::string failure(const std::string& what, const std::string& path, int error) {
    return what + " " + path + ": " + std::strerror(error);
}
}  // namespace

capture_file::~capture_file() {
    if (fd_ >= 0) ::close(fd_);
}

std::string capture_file::open(const std::string& path) {
    path_ = path;
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) return failure("cannot open", path, errno);
    struct stat info {};
    if (::fstat(fd_, &info) != 0) return failure("cannot read", path, errno);
    if (S_ISDIR(info.st_mode)) return failure("cannot read", path, EISDIR);
    size_ = static_cast<std::uint64_t>(info.st_size);
    ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    buffer_.resize(carry_capacity + block_size);
    if (!fill()) return error_;
    const auto detected = detect_packet_format({buffer_.data() + begin_, end_ - begin_});
    if (!detected) return path + ": no transport stream found";
    format_ = *detected;
    fresh_ = true;
    return {};
}

capture_file::block capture_file::next(std::size_t consumed) {
    if (!fresh_) {
        const std::size_t kept = end_ - begin_ - std::min(consumed, end_ - begin_);
        // A block that could not be split at all would grow the carry without end.
        if (kept > carry_capacity) consumed = end_ - begin_ - carry_capacity;
        std::memmove(buffer_.data(), buffer_.data() + begin_ + consumed, end_ - begin_ - consumed);
        end_ -= begin_ + consumed;
        begin_ = 0;
        fill();
    }
    fresh_ = false;
    return {{buffer_.data() + begin_, end_ - begin_}, eof_};
}

void capture_file::rewind() {
    ::lseek(fd_, 0, SEEK_SET);
    begin_ = end_ = 0;
    eof_ = false;
    fresh_ = false;
}

bool capture_file::fill() {
    while (!eof_ && end_ < buffer_.size()) {
        const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error_ = failure("cannot read", path_, errno);
            eof_ = true;
            return false;
        }
        if (n == 0) eof_ = true;
        end_ += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace kestrel::ts
