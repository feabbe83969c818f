#pragma once

#include <cstdint>
#include <string>

namespace kestrel::views {

// printf formatting into a string, for the fixed formats of node texts and value rows.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// "%0NX" and "%0Nx": at least `digits` hexadecimal digits, upper or lower case.
std::string upper_hex(std::uint32_t value, int digits);
std::string lower_hex(std::uint32_t value, int digits);

// "%d".
inline std::string decimal(long long value) {
    return std::to_string(value);
}

}  // namespace kestrel::views
