#include <array>

#include "cli/card_commands.h"
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
    static const std::array all{
        command{"cards", "list the cards --card can name", cards_usage, run_cards},
        command{"tune", "tune a card and show lock, level and quality", tune_usage, run_tune},
    };
    return all;
}

}  // namespace kestrel::cli
