#include "startup/latin1.h"

namespace kestrel::startup {

namespace {

// The ASCII stand-in of a typographic quote or dash, or 0.
char ascii_form(char32_t c) {
    switch (c) {
        case U'\u2018':  // left single quotation mark
        case U'\u2019':  // right single quotation mark
        case U'\u201A':  // single low-9 quotation mark
        case U'\u201B':  // single high-reversed-9 quotation mark
        case U'\u2032':  // prime
            return '\'';
        case U'\u201C':  // left double quotation mark
        case U'\u201D':  // right double quotation mark
        case U'\u201E':  // double low-9 quotation mark
        case U'\u201F':  // double high-reversed-9 quotation mark
        case U'\u2033':  // double prime
            return '"';
        case U'\u2010':  // hyphen
        case U'\u2011':  // non-breaking hyphen
        case U'\u2012':  // figure dash
        case U'\u2013':  // en dash
        case U'\u2014':  // em dash
        case U'\u2015':  // horizontal bar
        case U'\u2212':  // minus sign
            return '-';
        default:
            return 0;
    }
}

// Decodes the UTF-8 sequence at text[i], advancing i past it; U+FFFD for a malformed one
// (which then consumes only its first byte).
char32_t next_code_point(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) return lead;
    int continuation = 0;
    char32_t c = 0;
    if ((lead & 0xE0) == 0xC0) {
        continuation = 1;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        continuation = 2;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        continuation = 3;
        c = lead & 0x07;
    } else {
        return U'\uFFFD';
    }
    const std::size_t start = i;
    for (int k = 0; k < continuation; ++k, ++i) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            i = start;
            return U'\uFFFD';
        }
        c = (c << 6) | (static_cast<unsigned char>(text[i]) & 0x3F);
    }
    // Overlong forms would smuggle in characters under another spelling.
    static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
    if (c < least[continuation] || c > 0x10FFFF) return U'\uFFFD';
    return c;
}

}  // namespace

std::string utf8_to_latin1(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const char32_t c = next_code_point(utf8, i);
        if (c <= 0xFF) {
            out += static_cast<char>(c);
        } else {
            const char ascii = ascii_form(c);
            out += ascii ? ascii : '?';
        }
    }
    return out;
}

std::string latin1_to_utf8(std::string_view latin1) {
    std::string out;
    out.reserve(latin1.size());
    for (const char c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | byte >> 6);
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

}  // namespace kestrel::startup
