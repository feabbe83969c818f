#pragma once

// For the benchmarks: a real capture repeated back to back into a file of 256 MiB (or another
// length) in a folder, made once per run and removed at exit.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestrel::ts::bench {

inline constexpr std::uintmax_t looped_size = std::uintmax_t{256} << 20;

// The looped file of the capture `name` of the shared captures, in `folder`, `size` bytes long
// give or take a capture; empty when the capture is not there.
inline std::string looped_capture(const std::string& name, const std::filesystem::path& folder,
                                  std::uintmax_t size = looped_size) {
    static std::map<std::pair<std::string, std::uintmax_t>, std::filesystem::path> made;
    static struct cleanup {
        ~cleanup() {
            for (const auto& [key, path] : made)
                std::filesystem::remove(path);
        }
    } at_exit;
    if (auto it = made.find({name, size}); it != made.end()) return it->second;
    const std::filesystem::path source = std::filesystem::path(KESTREL_SHARED_DIR "/captures") / name;
    std::ifstream in(source, std::ios::binary);
    const std::vector<char> capture{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (capture.empty()) return {};
    const auto path = folder / ("kestrel-bench-" + std::to_string(size >> 20) + "MiB-" + name);
    std::ofstream out(path, std::ios::binary);
    for (std::uintmax_t written = 0; written < size; written += capture.size())
        out.write(capture.data(), static_cast<std::streamsize>(capture.size()));
    made[{name, size}] = path;
    return path;
}

// Reads the file front to back in blocks of the buffer's size, looking at nothing: the
// yardstick the benchmarks measure against. Returns the bytes read.
inline std::uint64_t read_plainly(const std::string& path, std::vector<char>& buffer) {
    std::uint64_t total = 0;
    const int fd = ::open(path.c_str(), O_RDONLY);
    for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
        total += static_cast<std::uint64_t>(n);
    ::close(fd);
    return total;
}

}  // namespace kestrel::ts::bench
