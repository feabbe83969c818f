#include "tools/manpage/roff_page.h"

#include <gtest/gtest.h>

namespace kestrel::manpage {
namespace {

TEST(RoffEscape, KeepsTextLiteral) {
    const struct {
        const char* text;
        const char* roff;
    } cases[] = {
        {"--card SPEC", "\\-\\-card SPEC"},  // a minus sign, never a hyphen
        {"C:\\path", "C:\\epath"},           // a backslash printed, not a request
        {".SH not a request", "\\&.SH not a request"},
        {"'quoted' first", "\\&'quoted' first"},
        {"a.b 'c'", "a.b 'c'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roff_escape(c.text), c.roff) << c.text;
}

help_text overview() {
    help_text help;
    help.program = "kestrel-cli";
    help.summary = "explore DVB signalling";
    help.synopsis = {"kestrel-cli [--trace-level N] COMMAND"};
    help.sections = {
        {"", {{help_part::kind::prose, "Each command does one job.", {}}}},
        {"commands",
         {{help_part::kind::items, "", {{"scan", "read the tables"}, {"cards", "list the cards"}}}}},
        {"exit status", {{help_part::kind::items, "", {{"0", "done"}}}}},
    };
    return help;
}

help_text scan_help() {
    help_text help;
    help.synopsis = {"kestrel-cli scan [--mode current|nit] [--export FILE.db]"};
    help.sections = {{"",
                      {{help_part::kind::items, "", {{"--mode MODE", "current or nit"}}},
                       {help_part::kind::label, "DVB-S", {}},
                       {help_part::kind::items, "", {{"--polarisation H|V", "the polarisation"}}},
                       {help_part::kind::items, "", {{"kestrel-cli scan --card demo", ""}}}}}};
    return help;
}

TEST(ManualPage, ExpandsEachListedCommandWithItsOwnHelp) {
    const std::string page = manual_page({"kestrel-cli", "2026-12-07", "kestrel 0.1.0", {"kestrel"}},
                                         overview(), {{"scan", scan_help()}});
    const auto at = [&](const char* text) { return page.find(text); };
    const char* in_order[] = {
        ".TH KESTREL\\-CLI 1 \"2026-12-07\" \"kestrel 0.1.0\" \"User Commands\"\n",
        ".SH NAME\nkestrel\\-cli \\- explore DVB signalling\n",
        ".SH SYNOPSIS\n",
        "\\fBkestrel\\-cli\\fR [\\fB\\-\\-trace\\-level\\fR\\ \\fIN\\fR] \\fICOMMAND\\fR\n",
        ".SH DESCRIPTION\n.PP\nEach command does one job.\n",
        ".SH COMMANDS\n.SS \"kestrel\\-cli scan\"\nread the tables\n",
        // alternatives stay as written, placeholders are italic, options bold
        "[\\fB\\-\\-mode\\fR\\ current|nit] [\\fB\\-\\-export\\fR\\ \\fIFILE\\fR.db]\n",
        ".TP\n\\fB\\-\\-mode\\fR \\fIMODE\\fR\ncurrent or nit\n",
        ".PP\n\\fBDVB\\-S\\fR\n",
        ".TP\n\\fB\\-\\-polarisation\\fR H|V\nthe polarisation\n",
        ".nf\nkestrel\\-cli scan \\-\\-card demo\n.fi\n",
        ".SH EXIT STATUS\n.TP\n0\ndone\n",
        ".SH SEE ALSO\n\\fBkestrel\\fR(1)\n",
    };
    std::size_t previous = 0;
    for (const char* text : in_order) {
        const std::size_t found = at(text);
        ASSERT_NE(found, std::string::npos) << "missing: " << text << "\nin:\n" << page;
        EXPECT_GE(found, previous) << "out of order: " << text;
        previous = found;
    }
    // A command the program lists but no help was read for is left out, not half shown.
    EXPECT_EQ(at("kestrel-cli cards"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::manpage
