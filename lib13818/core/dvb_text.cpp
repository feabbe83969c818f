#include "lib13818/core/dvb_text.h"

#include <iconv.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>

#include "lib13818/core/charset_tables.h"
#include "lib13818/core/error.h"

namespace lib13818 {

namespace {

enum class family { iso6937, single_byte, ucs2, utf8, converter };

// How one text is read: a family and, for single-byte tables, the table; for a
// converter, its iconv name.
struct table_choice {
    family kind = family::iso6937;
    const byte_table* table = nullptr;
    std::string iconv_name;
};

table_choice single(const byte_table* table) {
    return {family::single_byte, table != nullptr ? table : &ascii_table(), {}};
}

// The table a selector names (the first byte, 0x10's part number, 0x1F's encoding id).
table_choice table_of_selector(std::string_view selector) {
    const auto first = static_cast<std::uint8_t>(selector[0]);
    if (first >= 0x01 && first <= 0x0B) return single(first == 0x08 ? nullptr : iso8859_table(first + 4));
    switch (first) {
        case 0x10:
            if (selector.size() == 3 && selector[1] == 0)
                return single(iso8859_table(static_cast<std::uint8_t>(selector[2])));
            return single(nullptr);
        case 0x11:
            return {family::ucs2, nullptr, {}};
        case 0x12:
            return {family::converter, nullptr, "EUC-KR"};
        case 0x13:
            return {family::converter, nullptr, "GB2312"};
        case 0x14:
            return {family::converter, nullptr, "BIG5"};
        case 0x15:
            return {family::utf8, nullptr, {}};
        default:
            return single(nullptr);
    }
}

// A charset name as the user or a guess gives it, upper case, without '-' and '_'.
std::string folded(std::string_view name) {
    std::string out;
    for (const char c : name)
        if (c != '-' && c != '_') out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

// The built-in table a charset name stands for, or a converter when there is none.
table_choice table_of_name(const std::string& name) {
    const std::string f = folded(name);
    if (f.empty() || f == "ISO6937") return {};
    if (f == "UTF8") return {family::utf8, nullptr, {}};
    if (f == "UCS2" || f == "UCS2BE") return {family::ucs2, nullptr, {}};
    if (f == "LATIN1") return single(iso8859_table(1));
    if (f == "LATIN9") return single(iso8859_table(15));
    if (f.starts_with("ISO8859") && f.size() > 7 && f.size() <= 9) {
        const int part = std::atoi(f.c_str() + 7);
        if (const byte_table* table = iso8859_table(part)) return single(table);
    }
    return {family::converter, nullptr, name};
}

// Code points of a two-byte or UTF-8 text: DVB's control codes sit at U+E080-U+E09F.
void append_code_point(std::string& out, char32_t c) {
    const bool control = is_dvb_control(c) || (c >= 0xE080 && c <= 0xE09F);
    if (!control) return append_utf8(out, c);
    if ((c & 0xFF) == dvb_line_break) out += '\n';
}

// Writes a table entry whole (one store); only its `size` bytes count. A text of n bytes
// never needs more than 3n bytes of UTF-8, so a buffer of 3n + 1 takes every store.
void put(char*& o, const utf8_glyph& g) {
    std::memcpy(o, &g, sizeof g);
    o += g.size;
}

std::string decode_single(const byte_table& table, std::string_view text) {
    std::string out(text.size() * 3 + 1, '\0');
    char* o = out.data();
    for (const char c : text)
        put(o, table[static_cast<std::uint8_t>(c)]);
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::string decode_6937(std::string_view text) {
    static const utf8_glyph replacement = glyph_of(replacement_character);
    const byte_table& table = iso6937_table();
    std::string out(text.size() * 3 + 1, '\0');
    char* o = out.data();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        if (!is_6937_mark(b)) {
            put(o, table[b]);
            continue;
        }
        // A mark precedes the letter it belongs to.
        const auto next = i + 1 < text.size() ? static_cast<std::uint8_t>(text[i + 1]) : 0;
        if (const utf8_glyph* composed = combine_6937(b, next)) {
            put(o, *composed);
            ++i;
        } else if (next > 0x20 && !is_6937_mark(next) && table[next].size > 0 && next != dvb_line_break) {
            put(o, table[next]);
            put(o, combining_mark_6937(b));
            ++i;
        } else {
            put(o, replacement);
        }
    }
    out.resize(static_cast<std::size_t>(o - out.data()));
    return out;
}

std::string decode_ucs2(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 2);
    std::size_t i = 0;
    for (; i + 1 < text.size(); i += 2)
        append_code_point(out, static_cast<char32_t>((static_cast<std::uint8_t>(text[i]) << 8) |
                                                     static_cast<std::uint8_t>(text[i + 1])));
    if (i < text.size()) append_utf8(out, replacement_character);
    return out;
}

// The code point of the UTF-8 sequence at the front of `text` and its length, or length 0
// when the sequence is malformed (overlong, a surrogate, cut short, beyond U+10FFFF).
std::pair<char32_t, std::size_t> next_utf8(std::string_view text) {
    const auto b = static_cast<std::uint8_t>(text[0]);
    if (b < 0x80) return {b, 1};
    std::size_t size = 0;
    char32_t c = 0;
    char32_t least = 0;
    if ((b & 0xE0) == 0xC0) {
        size = 2, c = b & 0x1F, least = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        size = 3, c = b & 0x0F, least = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        size = 4, c = b & 0x07, least = 0x10000;
    } else {
        return {0, 0};
    }
    if (text.size() < size) return {0, 0};
    for (std::size_t k = 1; k < size; ++k) {
        const auto t = static_cast<std::uint8_t>(text[k]);
        if ((t & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (t & 0x3F);
    }
    if (c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return {0, 0};
    return {c, size};
}

std::string decode_utf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const auto [c, size] = next_utf8(text);
        if (size == 0) {
            append_utf8(out, replacement_character);
            text.remove_prefix(1);
        } else {
            append_code_point(out, c);
            text.remove_prefix(size);
        }
    }
    return out;
}

const iconv_t no_converter = reinterpret_cast<iconv_t>(-1);

// A converter's text; a byte it refuses is a DVB control code or becomes U+FFFD, and the
// conversion goes on after it.
std::string decode_with(iconv_t cd, std::string_view text) {
    std::string out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(text.data());
    std::size_t in_left = text.size();
    char buffer[1024];
    while (in_left > 0) {
        char* o = buffer;
        std::size_t o_left = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &in_left, &o, &o_left);
        const int fault = errno;
        out.append(buffer, static_cast<std::size_t>(o - buffer));
        if (done != static_cast<std::size_t>(-1) || fault == E2BIG) continue;
        const auto b = static_cast<std::uint8_t>(*in);
        if (fault == EILSEQ && is_dvb_control(b)) {
            append_code_point(out, b);
        } else {
            append_utf8(out, replacement_character);
        }
        if (fault == EINVAL) break;  // a sequence cut short by the text's end
        ++in, --in_left;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

iconv_t open_converter(const std::string& name) {
    return iconv_open("UTF-8", name.c_str());
}

}  // namespace

struct dvb_text_decoder::converters {
    table_choice default_table;
    std::map<std::string, iconv_t> open;  // by iconv name; no_converter when it cannot open

    ~converters() {
        for (const auto& [name, cd] : open)
            if (cd != no_converter) iconv_close(cd);
    }

    iconv_t get(const std::string& name) {
        const auto [it, added] = open.try_emplace(name, no_converter);
        if (added) it->second = open_converter(name);
        return it->second;
    }
};

dvb_text_decoder::dvb_text_decoder(std::string default_charset)
    : default_charset_(std::move(default_charset)), converters_(std::make_unique<converters>()) {
    converters_->default_table = table_of_name(default_charset_);
    if (converters_->default_table.kind == family::converter &&
        converters_->get(default_charset_) == no_converter)
        throw error("unknown character set '" + default_charset_ + "'");
}
dvb_text_decoder::~dvb_text_decoder() = default;
dvb_text_decoder::dvb_text_decoder(dvb_text_decoder&&) noexcept = default;
dvb_text_decoder& dvb_text_decoder::operator=(dvb_text_decoder&&) noexcept = default;

std::string dvb_text_decoder::decode(std::string_view selector, std::string_view text) {
    const table_choice choice = selector.empty() ? converters_->default_table : table_of_selector(selector);
    switch (choice.kind) {
        case family::iso6937:
            return decode_6937(text);
        case family::single_byte:
            return decode_single(*choice.table, text);
        case family::ucs2:
            return decode_ucs2(text);
        case family::utf8:
            return decode_utf8(text);
        case family::converter:
            break;
    }
    const iconv_t cd = converters_->get(choice.iconv_name);
    if (cd == no_converter) return decode_single(ascii_table(), text);
    return decode_with(cd, text);
}

std::string dvb_text_decoder::to_utf8(const DvbString& text) {
    return decode(text.selector, text.text);
}

std::string dvb_text_decoder::to_utf8(std::string_view raw) {
    const DvbString split = DvbString::split(raw);
    return decode(split.selector, split.text);
}

namespace {

int decoder_slot() {
    static const int slot = std::ios_base::xalloc();
    return slot;
}

template <class Text>
std::ostream& write_decoded(std::ostream& out, const Text& text) {
    if (auto* attached = static_cast<dvb_text_decoder*>(out.pword(decoder_slot())))
        return out << attached->to_utf8(text);
    dvb_text_decoder standard;
    return out << standard.to_utf8(text);
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const DvbString& text) {
    return write_decoded(out, text);
}

std::ostream& operator<<(std::ostream& out, prefixed_dvb_text text) {
    return write_decoded(out, text.raw);
}

text_decoder_scope::text_decoder_scope(std::ostream& out, dvb_text_decoder& decoder)
    : out_(out), previous_(out.pword(decoder_slot())) {
    out.pword(decoder_slot()) = &decoder;
}

text_decoder_scope::~text_decoder_scope() {
    out_.pword(decoder_slot()) = previous_;
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

}  // namespace lib13818
