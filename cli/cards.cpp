#include <cstdio>

#include "cli/card_commands.h"
#include "startup/card_choice.h"

namespace kestrel::cli {

const char* const cards_usage =
    "usage: kestrel-cli cards\n\n"
    "Lists the cards --card can name: the Linux DVB adapters found (linux:N), each with\n"
    "its frontend's delivery systems, and the capture cards that can always be chosen\n"
    "(demo). capture:FILE.ts and capture:MANIFEST replay captures.\n\n"
    "A multi-standard adapter is used as its first delivery system's type unless the\n"
    "SPEC chooses one: linux:N?dvb-s, linux:N?dvb-c or linux:N?dvb-t.\n";

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
