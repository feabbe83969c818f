#include "views/text_format.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace kestrel::views {

std::string format(const char* pattern, ...) {
    char buffer[128];
    va_list args;
    va_start(args, pattern);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(buffer, sizeof buffer, pattern, args);
    va_end(args);
    std::string out;
    if (n < 0) {
        va_end(again);
        return out;
    }
    if (static_cast<std::size_t>(n) < sizeof buffer) {
        out.assign(buffer, static_cast<std::size_t>(n));
    } else {
        out.resize(static_cast<std::size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, pattern, again);
    }
    va_end(again);
    return out;
}

namespace {

std::string hex(std::uint32_t value, int digits, const char* alphabet) {
    char buffer[8];
    int n = 0;
    do {
        buffer[n++] = alphabet[value & 0x0F];
        value >>= 4;
    } while (value != 0);
    std::string out(static_cast<std::size_t>(std::max(digits, n)), '0');
    for (int i = 0; i < n; ++i)
        out[out.size() - 1 - static_cast<std::size_t>(i)] = buffer[i];
    return out;
}

}  // namespace

std::string upper_hex(std::uint32_t value, int digits) {
    return hex(value, digits, "0123456789ABCDEF");
}
std::string lower_hex(std::uint32_t value, int digits) {
    return hex(value, digits, "0123456789abcdef");
}

std::string hex_bytes(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

double as_decimal(double value) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.12g", value);
    return std::strtod(digits, nullptr);
}

}  // namespace kestrel::views
