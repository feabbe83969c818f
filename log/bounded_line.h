#pragma once

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <string_view>

namespace kestrel {

// Assembles one log line in a fixed buffer of `size` characters (with its terminating
// zero). What does not fit is cut; the line's ending is kept room for, so a cut line
// still ends properly.
template <std::size_t size>
class bounded_line {
  public:
    explicit bounded_line(std::string_view ending) : ending_(ending) {}

    void vappend(const char* format, va_list args) __attribute__((format(printf, 2, 0))) {
        const std::size_t room = capacity() - used_;
        if (room == 0) return;
        const int wanted = std::vsnprintf(buffer_.data() + used_, room + 1, format, args);
        if (wanted > 0) used_ += std::min(static_cast<std::size_t>(wanted), room);
    }

    void append(const char* format, ...) __attribute__((format(printf, 2, 3))) {
        va_list args;
        va_start(args, format);
        vappend(format, args);
        va_end(args);
    }

    // The line with its ending (and a terminating zero after it).
    std::string_view finish() {
        std::copy(ending_.begin(), ending_.end(), buffer_.data() + used_);
        buffer_[used_ + ending_.size()] = '\0';
        return {buffer_.data(), used_ + ending_.size()};
    }

  private:
    std::size_t capacity() const { return size - 1 - ending_.size(); }

    std::array<char, size> buffer_;
    std::string_view ending_;
    std::size_t used_ = 0;
};

}  // namespace kestrel
