#include "tools/manpage/help_text.h"

#include <algorithm>

namespace kestrel::manpage {

namespace {

using paragraph = std::vector<std::string_view>;

std::vector<paragraph> paragraphs_of(std::string_view text) {
    std::vector<paragraph> result(1);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r'))
            line.remove_suffix(1);
        if (line.empty()) {
            if (!result.back().empty()) result.emplace_back();
        } else {
            result.back().push_back(line);
        }
    }
    if (result.back().empty()) result.pop_back();
    return result;
}

std::size_t indent_of(std::string_view line) {
    return std::min(line.find_first_not_of(' '), line.size());
}

void append_words(std::string& to, std::string_view words) {
    words.remove_prefix(indent_of(words));
    if (!to.empty() && !words.empty()) to += ' ';
    to += words;
}

bool is_title(std::string_view line) {
    return indent_of(line) == 0 && line.size() > 1 && line.back() == ':';
}

// The synopsis forms of a "usage: " paragraph.
std::vector<std::string> forms_of(const paragraph& lines, std::string_view program) {
    std::vector<std::string> forms;
    for (std::string_view line : lines) {
        if (line.starts_with("usage:")) line.remove_prefix(6);
        line.remove_prefix(indent_of(line));
        const bool new_form = forms.empty() || (!program.empty() && line.starts_with(program));
        if (new_form)
            forms.emplace_back(line);
        else
            append_words(forms.back(), line);
    }
    return forms;
}

// The item an indented line begins; its term ends at the first gap of two blanks or more.
help_item item_of(std::string_view line) {
    line.remove_prefix(indent_of(line));
    const std::size_t gap = line.find("  ");
    if (gap == std::string_view::npos) return {std::string(line), ""};
    std::string_view description = line.substr(gap);
    description.remove_prefix(indent_of(description));
    return {std::string(line.substr(0, gap)), std::string(description)};
}

// Reads the lines of one paragraph into parts of `section`.
void read_lines(const paragraph& lines, std::size_t first, help_section& section) {
    std::size_t item_indent = 0;
    for (std::size_t i = first; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::size_t indent = indent_of(line);
        std::vector<help_part>& parts = section.parts;
        if (indent == 0) {
            const bool label = line.back() == ':' && i + 1 < lines.size() && indent_of(lines[i + 1]) > 0;
            if (label) {
                parts.push_back({help_part::kind::label, std::string(line.substr(0, line.size() - 1)), {}});
            } else {
                if (parts.empty() || parts.back().type != help_part::kind::prose || i == first)
                    parts.push_back({help_part::kind::prose, "", {}});
                append_words(parts.back().text, line);
            }
            continue;
        }
        const bool in_items = i > first && !parts.empty() && parts.back().type == help_part::kind::items;
        if (in_items && indent > item_indent) {
            append_words(parts.back().items.back().description, line);
            continue;
        }
        if (!in_items) parts.push_back({help_part::kind::items, "", {}});
        parts.back().items.push_back(item_of(line));
        item_indent = indent;
    }
}

}  // namespace

help_text read_help(std::string_view text) {
    help_text help;
    const std::vector<paragraph> paragraphs = paragraphs_of(text);
    std::size_t p = 0;
    if (!paragraphs.empty() && paragraphs[0].size() == 1 && indent_of(paragraphs[0][0]) == 0) {
        const std::string_view line = paragraphs[0][0];
        const std::size_t colon = line.find(": ");
        if (colon != std::string_view::npos && line.substr(0, colon).find(' ') == std::string_view::npos &&
            !line.starts_with("usage:")) {
            help.program = line.substr(0, colon);
            help.summary = line.substr(colon + 2);
            p = 1;
        }
    }
    for (; p < paragraphs.size(); ++p) {
        const paragraph& lines = paragraphs[p];
        if (lines[0].starts_with("usage: ")) {
            std::string program(lines[0].substr(7, lines[0].find(' ', 7) - 7));
            for (std::string& form : forms_of(lines, help.program.empty() ? program : help.program))
                help.synopsis.push_back(std::move(form));
            continue;
        }
        if (is_title(lines[0])) {
            help.sections.push_back({std::string(lines[0].substr(0, lines[0].size() - 1)), {}});
            read_lines(lines, 1, help.sections.back());
            continue;
        }
        if (help.sections.empty() || !help.sections.back().title.empty()) help.sections.emplace_back();
        read_lines(lines, 0, help.sections.back());
    }
    return help;
}

const help_section* find_section(const help_text& help, std::string_view title) {
    const auto it = std::find_if(help.sections.begin(), help.sections.end(),
                                 [title](const help_section& s) { return s.title == title; });
    return it == help.sections.end() ? nullptr : &*it;
}

}  // namespace kestrel::manpage
