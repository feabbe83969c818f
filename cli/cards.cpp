#include <cerrno>
#include <cstdio>

#include "cli/card_commands.h"
#include "startup/card_choice.h"

namespace kestrel::cli {

const char* const cards_usage =
    "usage: kestrel-cli cards\n\n"
    "Lists the cards --card can name: the Linux DVB adapters found (linux:N), each with\n"
    "its frontend's delivery systems, and the capture cards that can always be chosen\n"
    "(demo, and its terrestrial and cable networks demo?dvb-t and demo?dvb-c).\n"
    "capture:FILE.ts and capture:MANIFEST replay captures. An adapter that\n"
    "exists but may not be opened is listed with a note on the group video, whose\n"
    "members may open the DVB devices.\n\n"
    "A multi-standard adapter is used as its first delivery system's type unless the\n"
    "SPEC chooses one: linux:N?dvb-s, linux:N?dvb-c or linux:N?dvb-t.\n";

void print_cards(std::FILE* out, const std::vector<startup::card_entry>& adapters,
                 const std::vector<startup::card_entry>& captures) {
    std::fprintf(out, "Linux DVB adapters:\n");
    if (adapters.empty()) std::fprintf(out, "  no DVB adapter found\n");
    std::string refused;
    for (const auto& card : adapters) {
        std::fprintf(out, "  %-10s %s\n", card.spec.c_str(), card.name.c_str());
        if (card.open_error == EACCES || card.open_error == EPERM)
            refused += (refused.empty() ? "" : ", ") + card.spec;
    }
    // Indented deeper than the cards, so that a reader of the list never takes it for one.
    if (!refused.empty())
        std::fprintf(out,
                     "    %s may not be opened: the DVB devices need membership of the group video.\n"
                     "    'id -nG' lists your groups; 'sudo usermod -aG video $USER' adds you, from your\n"
                     "    next login on.\n",
                     refused.c_str());
    std::fprintf(out, "Capture cards:\n");
    for (const auto& card : captures)
        std::fprintf(out, "  %-10s %s\n", card.spec.c_str(), card.name.c_str());
}

int run_cards(std::span<char* const> args) {
    if (!args.empty()) {
        std::fprintf(stderr, "kestrel-cli cards: takes no arguments (try --help)\n");
        return 2;
    }
    print_cards(stdout, startup::linux_cards(), startup::capture_cards());
    return 0;
}

}  // namespace kestrel::cli
