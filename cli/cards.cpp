#include <cstdio>

#include "cli/card_commands.h"
#include "startup/card_choice.h"

namespace kestrel::cli {

const char* const cards_usage =
    "usage: kestrel-cli cards\n\n"
    "Lists the cards --card can name: the Linux DVB adapters found (linux:N) and the\n"
    "capture cards that can always be chosen (demo). capture:FILE.ts and capture:MANIFEST\n"
    "replay captures.\n";

int run_cards(std::span<char* const> args) {
    if (!args.empty()) {
        std::fprintf(stderr, "kestrel-cli cards: takes no arguments (try --help)\n");
        return 2;
    }
    const auto adapters = startup::linux_cards();
    std::printf("Linux DVB adapters:\n");
    if (adapters.empty()) std::printf("  no DVB adapter found\n");
    for (const auto& card : adapters)
        std::printf("  %-10s %s\n", card.spec.c_str(), card.name.c_str());
    std::printf("Capture cards:\n");
    for (const auto& card : startup::capture_cards())
        std::printf("  %-10s %s\n", card.spec.c_str(), card.name.c_str());
    return 0;
}

}  // namespace kestrel::cli
