#include "lib13818/core/charset_tables.h"

#include <iconv.h>

#include <cstring>
#include <optional>

namespace lib13818 {

void append_utf8(std::string& out, char32_t c) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = replacement_character;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

utf8_glyph glyph_of(char32_t c) {
    std::string bytes;
    append_utf8(bytes, c < 0x10000 ? c : replacement_character);
    utf8_glyph g;
    std::memcpy(g.bytes, bytes.data(), bytes.size());
    g.size = static_cast<std::uint8_t>(bytes.size());
    return g;
}

namespace {

// The lower half is ASCII in every table; 0x80-0x9F are DVB's control codes.
byte_table with_ascii_and_controls() {
    byte_table t;
    for (char32_t b = 0; b < 0xA0; ++b)
        t[b] = is_dvb_control(b) ? utf8_glyph{} : glyph_of(b);
    t[dvb_line_break] = glyph_of('\n');
    return t;
}

// 0xA0-0xFF of the default table; 0 marks a position it leaves unassigned, the
// diacritical marks 0xC1-0xCF are handled apart.
constexpr char16_t iso6937_upper[96] = {
    0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x20AC, 0x00A5, 0x0023, 0x00A7,  // A0
    0x00A4, 0x2018, 0x201C, 0x00AB, 0x2190, 0x2191, 0x2192, 0x2193,  // A8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00D7, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00F7, 0x2019, 0x201D, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF,  // B8
    0,      0,      0,      0,      0,      0,      0,      0,       // C0
    0,      0,      0,      0,      0,      0,      0,      0,       // C8
    0x2015, 0x00B9, 0x00AE, 0x00A9, 0x2122, 0x266A, 0x00AC, 0x00A6,  // D0
    0,      0,      0,      0,      0x215B, 0x215C, 0x215D, 0x215E,  // D8
    0x2126, 0x00C6, 0x0110, 0x00AA, 0x0126, 0,      0x0132, 0x013F,  // E0
    0x0141, 0x00D8, 0x0152, 0x00BA, 0x00DE, 0x0166, 0x014A, 0x0149,  // E8
    0x0138, 0x00E6, 0x0111, 0x00F0, 0x0127, 0x0131, 0x0133, 0x0140,  // F0
    0x0142, 0x00F8, 0x0153, 0x00DF, 0x00FE, 0x0167, 0x014B, 0x00AD,  // F8
};

// The combining forms of 0xC1-0xCF; 0xC9 is the older spelling of the diaeresis.
constexpr char16_t combining_marks[15] = {0x0300, 0x0301, 0x0302, 0x0303, 0x0304, 0x0306, 0x0307, 0x0308,
                                          0x0308, 0x030A, 0x0327, 0x0332, 0x030B, 0x0328, 0x030C};

// Per mark, the letters it combines with and the precomposed characters they make, in the
// same order; a blank gives the spacing accent.
struct composition {
    std::uint8_t mark;
    const char* letters;
    const char16_t* composed;
};
constexpr composition compositions[] = {
    {0xC1, " AEINOUWYaeinouwy", u"`ÀÈÌǸÒÙẀỲàèìǹòùẁỳ"},
    {0xC2, " ACEGIKLMNOPRSUWYZacegiklmnoprsuwyz", u"´ÁĆÉǴÍḰĹḾŃÓṔŔŚÚẂÝŹáćéǵíḱĺḿńóṕŕśúẃýź"},
    {0xC3, " ACEGHIJOSUWYZaceghijosuwyz", u"^ÂĈÊĜĤÎĴÔŜÛŴŶẐâĉêĝĥîĵôŝûŵŷẑ"},
    {0xC4, " AEINOUVYaeinouvy", u"~ÃẼĨÑÕŨṼỸãẽĩñõũṽỹ"},
    {0xC5, " AEGIOUYaegiouy", u"¯ĀĒḠĪŌŪȲāēḡīōūȳ"},
    {0xC6, " AEGIOUaegiou", u"˘ĂĔĞĬŎŬăĕğĭŏŭ"},
    {0xC7, " ABCDEFGHIMNOPRSTWXYZabcdefghmnoprstwxyz", u"˙ȦḂĊḊĖḞĠḢİṀṄȮṖṘṠṪẆẊẎŻȧḃċḋėḟġḣṁṅȯṗṙṡṫẇẋẏż"},
    {0xC8, " AEHIOUWXYaehiotuwxy", u"¨ÄËḦÏÖÜẄẌŸäëḧïöẗüẅẍÿ"},
    {0xC9, " AEHIOUWXYaehiotuwxy", u"¨ÄËḦÏÖÜẄẌŸäëḧïöẗüẅẍÿ"},
    {0xCA, " AUauwy", u"˚ÅŮåůẘẙ"},
    {0xCB, " CDEGHKLNRSTcdeghklnrst", u"¸ÇḐȨĢḨĶĻŅŖŞŢçḑȩģḩķļņŗşţ"},
    {0xCC, " ", u"_"},
    {0xCD, " OUou", u"˝ŐŰőű"},
    {0xCE, " AEIOUaeiou", u"˛ĄĘĮǪŲąęįǫų"},
    {0xCF, " ACDEGHIKLNORSTUZacdeghijklnorstuz", u"ˇǍČĎĚǦȞǏǨĽŇǑŘŠŤǓŽǎčďěǧȟǐǰǩľňǒřšťǔž"},
};

// Per mark and letter the composed character; size 0 where there is none.
using composition_table = std::array<std::array<utf8_glyph, 128>, 15>;

composition_table build_compositions() {
    composition_table table{};
    for (const composition& c : compositions)
        for (std::size_t i = 0; c.letters[i] != '\0'; ++i)
            table[c.mark - 0xC1][static_cast<std::uint8_t>(c.letters[i])] = glyph_of(c.composed[i]);
    return table;
}

// A table from glibc's converter for the part, read one byte at a time.
std::optional<byte_table> table_from_iconv(int part) {
    const std::string name = "ISO-8859-" + std::to_string(part);
    const iconv_t cd = iconv_open("UTF-8", name.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    byte_table t = with_ascii_and_controls();
    for (int b = 0xA0; b <= 0xFF; ++b) {
        char in = static_cast<char>(b);
        char* in_p = &in;
        std::size_t in_left = 1;
        utf8_glyph g;
        char* out_p = g.bytes;
        std::size_t out_left = sizeof g.bytes;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd, &in_p, &in_left, &out_p, &out_left) == static_cast<std::size_t>(-1) || in_left != 0) {
            g = glyph_of(replacement_character);
        } else {
            g.size = static_cast<std::uint8_t>(out_p - g.bytes);
        }
        t[static_cast<std::size_t>(b)] = g;
    }
    iconv_close(cd);
    return t;
}

// Part 1 maps each byte to the same code point and needs no converter.
byte_table latin1_table() {
    byte_table t = with_ascii_and_controls();
    for (char32_t b = 0xA0; b <= 0xFF; ++b)
        t[b] = glyph_of(b);
    return t;
}

}  // namespace

const byte_table& iso6937_table() {
    static const byte_table table = [] {
        byte_table t = with_ascii_and_controls();
        for (std::size_t i = 0; i < std::size(iso6937_upper); ++i) {
            const char32_t c = iso6937_upper[i];
            const bool mark = is_6937_mark(static_cast<std::uint8_t>(0xA0 + i));
            t[0xA0 + i] = mark ? utf8_glyph{} : glyph_of(c != 0 ? c : replacement_character);
        }
        return t;
    }();
    return table;
}

const utf8_glyph* combine_6937(std::uint8_t mark, std::uint8_t letter) {
    static const composition_table table = build_compositions();
    if (!is_6937_mark(mark) || letter >= 0x80) return nullptr;
    const utf8_glyph& g = table[mark - 0xC1][letter];
    return g.size > 0 ? &g : nullptr;
}

const utf8_glyph& combining_mark_6937(std::uint8_t mark) {
    static const auto glyphs = [] {
        std::array<utf8_glyph, std::size(combining_marks)> all;
        for (std::size_t i = 0; i < all.size(); ++i)
            all[i] = glyph_of(combining_marks[i]);
        return all;
    }();
    return glyphs[mark - 0xC1];
}

const byte_table& ascii_table() {
    static const byte_table table = [] {
        byte_table t = with_ascii_and_controls();
        for (std::size_t b = 0xA0; b <= 0xFF; ++b)
            t[b] = glyph_of(replacement_character);
        return t;
    }();
    return table;
}

const byte_table* iso8859_table(int part) {
    static const auto tables = [] {
        std::array<std::optional<byte_table>, 17> all;
        all[1] = latin1_table();
        for (int part = 2; part <= 16; ++part)
            if (part != 12) all[static_cast<std::size_t>(part)] = table_from_iconv(part);
        return all;
    }();
    if (part < 1 || part > 16 || !tables[static_cast<std::size_t>(part)]) return nullptr;
    return &*tables[static_cast<std::size_t>(part)];
}

}  // namespace lib13818
