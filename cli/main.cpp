#include <cstdio>
#include <cstring>
#include <string_view>

#include "cli/command.h"

namespace {

void print_overview() {
    std::printf(
        "kestrel-cli: explore DVB signalling from the command line\n\n"
        "usage: kestrel-cli COMMAND [ARGS...]\n"
        "       kestrel-cli COMMAND --help\n\ncommands:\n");
    for (const auto& c : kestrel::cli::commands())
        std::printf("  %-16.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                    static_cast<int>(c.summary.size()), c.summary.data());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        print_overview();
        return 2;
    }
    const std::string_view name = argv[1];
    if (name == "--help" || name == "-h" || name == "help") {
        print_overview();
        return 0;
    }
    for (const auto& c : kestrel::cli::commands()) {
        if (c.name != name) continue;
        std::span<char* const> args(argv + 2, static_cast<std::size_t>(argc - 2));
        if (kestrel::cli::wants_help(args)) {
            std::printf("%.*s", static_cast<int>(c.usage.size()), c.usage.data());
            return 0;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "kestrel-cli: unknown command '%s' (try --help)\n", argv[1]);
    return 2;
}
