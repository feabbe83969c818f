#include "lib13818/core/hex_dump.h"

#include <cctype>
#include <cstdio>

namespace lib13818 {

void hex_dump(std::ostream& out, const std::vector<std::uint8_t>& bytes) {
    constexpr std::size_t per_line = 16;
    for (std::size_t start = 0; start < bytes.size(); start += per_line) {
        const std::size_t count = std::min(per_line, bytes.size() - start);
        std::string line;
        char hex[4];
        for (std::size_t i = 0; i < count; ++i) {
            std::snprintf(hex, sizeof hex, "%02x ", bytes[start + i]);
            line += hex;
        }
        line.append((per_line - count) * 3, ' ');
        line += " : ";
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t b = bytes[start + i];
            line += std::isalpha(b) ? static_cast<char>(b) : '.';
        }
        out << line << '\n';
    }
}

}  // namespace lib13818
