#include "tools/manpage/help_text.h"

#include <gtest/gtest.h>

namespace kestrel::manpage {
namespace {

// The shapes Kestrel's help texts take, in one overview and one command's usage.
constexpr const char* overview_text =
    "kestrel-cli: explore DVB signalling\n"
    "\n"
    "usage: kestrel-cli [--settings FILE] COMMAND [ARGS...]\n"
    "       kestrel-cli COMMAND --help\n"
    "\n"
    "Each command does one job;\n"
    "'kestrel-cli COMMAND --help' explains it.\n"
    "\n"
    "options:\n"
    "  --settings FILE  keep the settings in FILE instead of\n"
    "                   ~/.config/Tidewell/kestrel.conf\n"
    "  --help           print this text\n"
    "\n"
    "files:\n"
    "  ~/.config/kestrel/satellitecfg.txt\n"
    "                   the user's satellite list\n"
    "A program run from its build folder logs beside itself.\n";

constexpr const char* command_text =
    "usage: kestrel-cli tune [--card SPEC] [OPTIONS]\n"
    "                        [--quiet]\n"
    "\n"
    "Tunes the card.\n"
    "Exit status: 0 locked.\n"
    "\n"
    "  --card SPEC      linux:N or demo\n"
    "DVB-S:\n"
    "  --polarisation H|V|L|R   (POLARITY; H)\n"
    "    kestrel-cli tune --card demo\n";

TEST(ReadHelp, SplitsAnOverviewIntoNameSynopsisAndSections) {
    const help_text help = read_help(overview_text);
    EXPECT_EQ(help.program, "kestrel-cli");
    EXPECT_EQ(help.summary, "explore DVB signalling");
    EXPECT_EQ(help.synopsis, (std::vector<std::string>{"kestrel-cli [--settings FILE] COMMAND [ARGS...]",
                                                       "kestrel-cli COMMAND --help"}));
    ASSERT_EQ(help.sections.size(), 3u);
    EXPECT_EQ(help.sections[0].title, "");
    ASSERT_EQ(help.sections[0].parts.size(), 1u);
    EXPECT_EQ(help.sections[0].parts[0].text,
              "Each command does one job; 'kestrel-cli COMMAND --help' explains it.");

    const help_section* options = find_section(help, "options");
    ASSERT_NE(options, nullptr);
    ASSERT_EQ(options->parts.size(), 1u);
    const auto& items = options->parts[0].items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].term, "--settings FILE");
    EXPECT_EQ(items[0].description, "keep the settings in FILE instead of ~/.config/Tidewell/kestrel.conf");
    EXPECT_EQ(items[1].term, "--help");

    const help_section* files = find_section(help, "files");
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(files->parts.size(), 2u);
    EXPECT_EQ(files->parts[0].items[0].term, "~/.config/kestrel/satellitecfg.txt");
    EXPECT_EQ(files->parts[0].items[0].description, "the user's satellite list");
    EXPECT_EQ(files->parts[1].type, help_part::kind::prose);
    EXPECT_EQ(find_section(help, "commands"), nullptr);
}

TEST(ReadHelp, ReadsACommandsUsageWithLabelsAndContinuedForms) {
    const help_text help = read_help(command_text);
    EXPECT_EQ(help.program, "");
    EXPECT_EQ(help.synopsis,
              (std::vector<std::string>{"kestrel-cli tune [--card SPEC] [OPTIONS] [--quiet]"}));
    ASSERT_EQ(help.sections.size(), 1u);
    const auto& parts = help.sections[0].parts;
    ASSERT_EQ(parts.size(), 4u);
    EXPECT_EQ(parts[0].text, "Tunes the card. Exit status: 0 locked.");
    EXPECT_EQ(parts[1].items.size(), 1u);
    EXPECT_EQ(parts[2].type, help_part::kind::label);
    EXPECT_EQ(parts[2].text, "DVB-S");
    ASSERT_EQ(parts[3].items.size(), 1u);
    // A deeper line under an item continues it, even when it looks like a term.
    EXPECT_EQ(parts[3].items[0].description, "(POLARITY; H) kestrel-cli tune --card demo");
}

}  // namespace
}  // namespace kestrel::manpage
