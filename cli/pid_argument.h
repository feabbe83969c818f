#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrel::cli {

// A PID as the commands take it: decimal or 0x hex, 0 to 0x1FFF.
std::optional<std::uint16_t> parse_pid(std::string_view text);

}  // namespace kestrel::cli
