#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::views {

// printf formatting into a string, for the fixed formats of node texts and value rows.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// "%0NX" and "%0Nx": at least `digits` hexadecimal digits, upper or lower case.
std::string upper_hex(std::uint32_t value, int digits);
std::string lower_hex(std::uint32_t value, int digits);

// Bytes as two upper-case hexadecimal digits each, nothing between them.
std::string hex_bytes(std::string_view bytes);

// The double nearest to `value` written with 12 significant digits: a value summed from
// decimal digits (11.72743) then prints as those digits, not with the sum's rounding error.
double as_decimal(double value);

// "%d".
inline std::string decimal(long long value) {
    return std::to_string(value);
}

}  // namespace kestrel::views
