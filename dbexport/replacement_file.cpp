#include "dbexport/replacement_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fstream>

#include "dbexport/export_failure.h"

namespace kestrel::dbexport {

namespace {

// fsync of the file or folder at path; errno on failure, else 0.
int sync_path(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

std::string folder_of(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

replacement_file::replacement_file(std::string target) : target_(std::move(target)) {
    static std::atomic<unsigned> counter{0};
    for (;;) {
        temporary_ = target_ + "." + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
        const int fd = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return;
        }
        if (errno != EEXIST) fail_with_errno(errno);
    }
}

replacement_file::~replacement_file() {
    if (committed_) return;
    std::remove((temporary_ + "-journal").c_str());
    std::remove(temporary_.c_str());
}

void replacement_file::commit() {
    if (const int error = sync_path(temporary_, 0)) fail_with_errno(error);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) fail_with_errno(errno);
    committed_ = true;
    if (const int error = sync_path(folder_of(target_), O_DIRECTORY)) fail_with_errno(error);
}

std::string write_whole_file(const std::string& path, const std::function<void(std::ostream&)>& write) {
    try {
        replacement_file file(path);
        {
            std::ofstream out(file.path(), std::ios::binary | std::ios::trunc);
            write(out);
            out.flush();
            if (!out) return "cannot write " + file.path();
        }
        file.commit();
        return "";
    } catch (const export_failure& e) {
        return e.what();
    }
}

}  // namespace kestrel::dbexport
