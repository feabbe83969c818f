#include "cli/pid_argument.h"

#include <cstdlib>
#include <string>

#include "ts/packet.h"

namespace kestrel::cli {

std::optional<std::uint16_t> parse_pid(std::string_view text) {
    if (text.empty() || text[0] == '-') return std::nullopt;
    char* end = nullptr;
    const std::string copy(text);
    const unsigned long value = std::strtoul(copy.c_str(), &end, 0);
    if (*end != '\0' || value >= ts::pid_count) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace kestrel::cli
