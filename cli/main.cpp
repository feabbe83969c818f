#include <cstdio>
#include <cstring>
#include <string_view>

#include "cli/command.h"
#include "cli/global_options.h"
#include "cli/program_settings.h"
#include "cli/text_charset.h"
#include "lib13818/core/dvb_text.h"
#include "lib13818/core/error.h"
#include "startup/help_sections.h"
#include "startup/session.h"

namespace {

void print_overview() {
    std::printf(
        "kestrel-cli: explore DVB signalling from the command line\n\n"
        "usage: kestrel-cli [--settings FILE] [--trace-level N] [--charset NAME] COMMAND [ARGS...]\n"
        "       kestrel-cli COMMAND --help\n"
        "       kestrel-cli --version\n\n"
        "Each command does one job of the desktop program kestrel without a window;\n"
        "'kestrel-cli COMMAND --help' explains it.\n\n"
        "options:\n"
        "  --settings FILE  keep the settings in the INI file FILE instead of\n"
        "                   ~/.config/Tidewell/kestrel.conf (also after COMMAND)\n"
        "  --trace-level N  write trace lines up to level N (0-4) to kestrel-cli.txt\n"
        "                   (default: the stored General/loglevel)\n"
        "  --charset NAME   read DVB texts without a character table selector in NAME (an\n"
        "                   iconv name such as ISO-8859-15) instead of guessing per network\n"
        "  --version        print the version and build number\n"
        "  --help           print this text\n\n"
        "commands:\n");
    for (const auto& c : kestrel::cli::commands())
        std::printf("  %-16.*s %.*s\n", static_cast<int>(c.name.size()), c.name.data(),
                    static_cast<int>(c.summary.size()), c.summary.data());
    std::printf(
        "\nexit status:\n"
        "  0                the command did its job\n"
        "  1                it failed (each command's --help says when)\n"
        "  2                bad arguments, or no usable card\n"
        "  130              interrupted by Ctrl-C, where the command's --help says so\n\n"
        "%s",
        kestrel::startup::shared_help_sections("kestrel-cli").c_str());
}

}  // namespace

int main(int argc, char** argv) {
    const kestrel::cli::global_options options = kestrel::cli::parse_global_options(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "%s\n", options.error.c_str());
        return 2;
    }
    try {
        lib13818::dvb_text_decoder check(options.charset);
    } catch (const lib13818::error& e) {
        std::fprintf(stderr, "kestrel-cli: --charset: %s\n", e.what());
        return 2;
    }
    kestrel::cli::set_charset_override(options.charset);
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
    if (name == "--version") {
        std::printf("%s\n", kestrel::startup::version_line("kestrel-cli").c_str());
        return 0;
    }
    for (const auto& c : kestrel::cli::commands()) {
        if (c.name != name) continue;
        const std::span<char* const> args(options.command_args);
        if (kestrel::cli::wants_help(args)) {
            std::printf("%.*s", static_cast<int>(c.usage.size()), c.usage.data());
            return 0;
        }
        // Start-up in the shared order: the settings store first, then (here, or in the
        // command's session) the name tables and the logs.
        kestrel::cli::choose_program_settings(options.settings_file, options.trace_level);
        kestrel::settings_store& store = kestrel::cli::program_settings();
        if (const std::string status = store.status(); !status.empty())
            std::fprintf(stderr, "kestrel-cli: warning: %s\n", status.c_str());
        if (!c.opens_card) kestrel::startup::build_names_and_open_logs(store, options.trace_level);
        return c.run(args);
    }
    std::fprintf(stderr, "kestrel-cli: unknown command '%s' (try --help)\n", argv[first]);
    return 2;
}
