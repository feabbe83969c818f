#include "tools/manpage/roff_page.h"

#include <cctype>

namespace kestrel::manpage {

namespace {

std::string escape_chars(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

bool upper_word_char(char c) {
    return std::isupper(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) ||
           c == '_';
}

// A synopsis or an item's term: options bold, placeholders (FILE, SPEC, N) italic, values
// of an alternative (H|V) as they are; blanks inside brackets do not break the line.
std::string styled(std::string_view words) {
    std::string out;
    int depth = 0;
    for (std::size_t i = 0; i < words.size();) {
        const char c = words[i];
        const bool word_start = i == 0 || words[i - 1] == ' ' || words[i - 1] == '[' || words[i - 1] == '(';
        if (word_start && c == '-' && i + 1 < words.size() &&
            (words[i + 1] == '-' || std::islower(words[i + 1]))) {
            std::size_t end = i + 1;
            while (end < words.size() &&
                   (std::isalnum(static_cast<unsigned char>(words[end])) || words[end] == '-'))
                ++end;
            out += "\\fB" + escape_chars(words.substr(i, end - i)) + "\\fR";
            i = end;
            continue;
        }
        if (word_start && std::isupper(static_cast<unsigned char>(c))) {
            std::size_t end = i;
            while (end < words.size() && upper_word_char(words[end]))
                ++end;
            const bool alternative = end < words.size() && words[end] == '|';
            const bool whole =
                end == words.size() || std::string_view(" ].)").find(words[end]) != std::string_view::npos;
            if (!alternative && whole) {
                out += "\\fI" + escape_chars(words.substr(i, end - i)) + "\\fR";
                i = end;
                continue;
            }
            out += escape_chars(words.substr(i, end - i));
            i = end;
            continue;
        }
        depth += c == '[' ? 1 : c == ']' ? -1 : 0;
        out += c == ' ' && depth > 0 ? std::string("\\ ") : escape_chars(words.substr(i, 1));
        ++i;
    }
    return out;
}

void line(std::string& page, std::string_view text) {
    page += roff_escape(text);
    page += '\n';
}

// One synopsis form a line, continuation lines hanging.
void synopsis(std::string& page, const std::vector<std::string>& forms) {
    page += ".in +4n\n";
    for (const std::string& form : forms) {
        const std::size_t blank = form.find(' ');
        page += ".ti -4n\n\\fB" + escape_chars(form.substr(0, blank)) + "\\fR";
        if (blank != std::string::npos) page += styled(form.substr(blank));
        page += "\n.br\n";
    }
    page += ".in\n";
}

void items(std::string& page, const std::vector<help_item>& list) {
    for (std::size_t i = 0; i < list.size();) {
        if (list[i].description.empty()) {  // lines shown as they are, e.g. examples
            page += ".PP\n.RS\n.nf\n";
            for (; i < list.size() && list[i].description.empty(); ++i)
                line(page, list[i].term);
            page += ".fi\n.RE\n";
            continue;
        }
        const std::string term = styled(list[i].term);
        page += ".TP\n" + (term.starts_with('.') || term.starts_with('\'') ? "\\&" + term : term) + "\n";
        line(page, list[i].description);
        ++i;
    }
}

void parts(std::string& page, const std::vector<help_part>& list) {
    for (const help_part& part : list) {
        switch (part.type) {
            case help_part::kind::prose:
                page += ".PP\n";
                line(page, part.text);
                break;
            case help_part::kind::label:
                page += ".PP\n\\fB" + escape_chars(part.text) + "\\fR\n";
                break;
            case help_part::kind::items:
                items(page, part.items);
                break;
        }
    }
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

void command_sections(std::string& page, const help_section& listed,
                      const std::vector<command_help>& commands, std::string_view program) {
    page += ".SH COMMANDS\n";
    for (const help_part& part : listed.parts)
        for (const help_item& item : part.items)
            for (const command_help& command : commands) {
                if (command.name != item.term) continue;
                page += ".SS \"" + escape_chars(std::string(program) + " " + command.name) + "\"\n";
                line(page, item.description);
                page += ".PP\n";
                synopsis(page, command.help.synopsis);
                for (const help_section& section : command.help.sections) {
                    if (!section.title.empty()) page += ".PP\n\\fB" + escape_chars(section.title) + "\\fR\n";
                    parts(page, section.parts);
                }
            }
}

}  // namespace

std::string roff_escape(std::string_view text) {
    std::string out = escape_chars(text);
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

std::string manual_page(const page_header& header, const help_text& overview,
                        const std::vector<command_help>& commands) {
    std::string page = ".\\\" Made at build time from the programs' --help texts; edit those instead.\n";
    page += ".TH " + upper(escape_chars(header.name)) + " 1 \"" + header.date + "\" \"" + header.source +
            "\" \"User Commands\"\n";
    // Ragged right without hyphenation: paths and options stay whole.
    page += ".nh\n.ad l\n";
    page += ".SH NAME\n" + escape_chars(header.name) + " \\- " + roff_escape(overview.summary) + "\n";
    page += ".SH SYNOPSIS\n";
    synopsis(page, overview.synopsis);
    bool described = false;
    for (const help_section& section : overview.sections) {
        if (!section.title.empty()) continue;
        if (!described) page += ".SH DESCRIPTION\n";
        described = true;
        parts(page, section.parts);
    }
    for (const help_section& section : overview.sections) {
        if (section.title.empty()) continue;
        if (section.title == "commands" && !commands.empty()) {
            command_sections(page, section, commands, header.name);
            continue;
        }
        page += ".SH " + upper(escape_chars(section.title)) + "\n";
        parts(page, section.parts);
    }
    if (!header.see_also.empty()) {
        page += ".SH SEE ALSO\n";
        for (std::size_t i = 0; i < header.see_also.size(); ++i)
            page += "\\fB" + escape_chars(header.see_also[i]) + "\\fR(1)" +
                    (i + 1 < header.see_also.size() ? ",\n" : "\n");
    }
    return page;
}

}  // namespace kestrel::manpage
