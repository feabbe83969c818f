#pragma once

#include <string>

namespace kestrel::views {

// printf formatting into a string, for the fixed formats of node texts and value rows.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// "%d".
inline std::string decimal(long long value) {
    return std::to_string(value);
}

}  // namespace kestrel::views
