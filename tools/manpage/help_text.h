#pragma once

// A program's --help text read as the parts a manual page is made of. Kestrel's help texts
// share one layout, which this reader relies on:
//  - paragraphs are separated by blank lines;
//  - a first paragraph of one line "PROGRAM: summary" names the program;
//  - a paragraph starting "usage: " is the synopsis: a line starting with the program's
//    name begins a form, any other line continues the form above;
//  - a paragraph whose first line starts at column 0 and ends in ':' is a titled section
//    ("options:", "exit status:"); other paragraphs belong to an untitled section;
//  - lines at column 0 are prose, joined into one paragraph, except that one ending in ':'
//    and followed by an indented line is a label ("DVB-S:");
//  - indented lines are items "TERM  DESCRIPTION", term and description two or more blanks
//    apart; a line indented deeper than its item continues the description, and an indented
//    line without such a gap is a term alone (its description may follow on deeper lines).

#include <string>
#include <string_view>
#include <vector>

namespace kestrel::manpage {

struct help_item {
    std::string term;
    std::string description;  // "" for a term alone, e.g. a line of an example
};

struct help_part {
    enum class kind { prose, label, items };
    kind type = kind::prose;
    std::string text;              // prose and label
    std::vector<help_item> items;  // items
};

struct help_section {
    std::string title;  // "" for the untitled paragraphs
    std::vector<help_part> parts;
};

struct help_text {
    std::string program;                 // from "PROGRAM: summary", else ""
    std::string summary;                 // its summary
    std::vector<std::string> synopsis;   // the usage forms, each joined into one line
    std::vector<help_section> sections;  // in the text's order
};

help_text read_help(std::string_view text);

// The section titled `title`, or null.
const help_section* find_section(const help_text& help, std::string_view title);

}  // namespace kestrel::manpage
