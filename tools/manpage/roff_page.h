#pragma once

// A manual page in roff (the man macros) from a program's help texts: NAME, SYNOPSIS and
// DESCRIPTION from the overview, one section per titled section of it ("options:" becomes
// OPTIONS), the "commands:" section expanded into one subsection per command with that
// command's own help, and SEE ALSO.

#include <string>
#include <string_view>
#include <vector>

#include "tools/manpage/help_text.h"

namespace kestrel::manpage {

struct page_header {
    std::string name;                   // "kestrel-cli"
    std::string date;                   // "2026-12-07"
    std::string source;                 // "kestrel 0.1.0"
    std::vector<std::string> see_also;  // other pages of section 1
};

struct command_help {
    std::string name;
    help_text help;
};

std::string manual_page(const page_header& header, const help_text& overview,
                        const std::vector<command_help>& commands);

// `text` safe as roff text: backslashes and minus signs escaped (so that options copied
// from the page stay ASCII), a leading dot or quote neutralised.
std::string roff_escape(std::string_view text);

}  // namespace kestrel::manpage
