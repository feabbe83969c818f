#include <cstdio>
#include <cstring>
#include <string_view>

#include "cli/command.h"
#include "cli/global_options.h"
#include "cli/program_settings.h"
#include "startup/logs.h"
#include "startup/registries.h"

namespace {

void print_overview() {
    std::printf(
        "kestrel-cli: explore DVB signalling from the command line\n\n"
        "usage: kestrel-cli [--trace-level N] COMMAND [ARGS...]\n"
        "       kestrel-cli COMMAND --help\n\n"
        "options:\n"
        "  --trace-level N  write trace lines up to level N (0-4) to kestrel-cli.txt\n\ncommands:\n");
    for (const auto& c : kestrel::cli::commands())
        std::printf("  %-16.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                    static_cast<int>(c.summary.size()), c.summary.data());
}

}  // namespace

int main(int argc, char** argv) {
    const kestrel::cli::global_options options = kestrel::cli::parse_global_options(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    }
    kestrel::cli::program_trace_level() = options.trace_level;
    kestrel::startup::open_logs(options.trace_level.value_or(0));
    kestrel::startup::load_registries();
    const int first = options.command_index;
    if (first >= argc) {
        print_overview();
        return 2;
    }
    const std::string_view name = argv[first];
    if (name == "--help" || name == "-h" || name == "help") {
        print_overview();
        return 0;
    }
    for (const auto& c : kestrel::cli::commands()) {
        if (c.name != name) continue;
        std::span<char* const> args(argv + first + 1, static_cast<std::size_t>(argc - first - 1));
        if (kestrel::cli::wants_help(args)) {
            std::printf("%.*s", static_cast<int>(c.usage.size()), c.usage.data());
            return 0;
        }
        return c.run(args);
    }
    std::fprintf(stderr, "kestrel-cli: unknown command '%s' (try --help)\n", argv[first]);
    return 2;
}
