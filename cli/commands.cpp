#include <array>

#include "cli/command.h"

namespace kestrel::cli {

bool wants_help(std::span<char* const> args) {
    for (const char* a : args) {
        const std::string_view arg = a;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

std::span<const command> commands() {
    static const std::array<command, 0> all{};
    return all;
}

}  // namespace kestrel::cli
