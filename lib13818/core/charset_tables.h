#pragma once

// The single-byte character tables of DVB text as lookup tables from byte to UTF-8, built
// once and never changed afterwards (so any number of decoders may share them).

#include <array>
#include <cstdint>
#include <string>

namespace lib13818 {

inline constexpr char32_t replacement_character = 0xFFFD;

// The UTF-8 form of one byte: `size` bytes of `bytes` (0 drops the byte).
struct utf8_glyph {
    char bytes[3] = {};
    std::uint8_t size = 0;
};
using byte_table = std::array<utf8_glyph, 256>;

// Appends c as UTF-8; a surrogate or a value beyond U+10FFFF appends U+FFFD.
void append_utf8(std::string& out, char32_t c);
// c (of the basic plane) as one table entry.
utf8_glyph glyph_of(char32_t c);

// The control codes DVB text shares across its tables: 0x86/0x87 (emphasis on and off)
// and the other codes of 0x80-0x9F are dropped, 0x8A is a line break.
inline constexpr char32_t dvb_line_break = 0x8A;
inline bool is_dvb_control(char32_t c) {
    return c >= 0x80 && c <= 0x9F;
}

// ISO/IEC 6937 as DVB's default table (with the euro sign at 0xA4). The non-spacing
// diacritical marks 0xC1-0xCF map to nothing here; see combine_6937.
const byte_table& iso6937_table();
inline bool is_6937_mark(std::uint8_t b) {
    return b >= 0xC1 && b <= 0xCF;
}
// The character a 6937 mark makes with the byte after it: the precomposed letter, the
// spacing accent for a blank, or nullptr when there is no such character.
const utf8_glyph* combine_6937(std::uint8_t mark, std::uint8_t letter);
// The Unicode combining form of a 6937 mark.
const utf8_glyph& combining_mark_6937(std::uint8_t mark);

// ASCII, the common part of every table; the upper half reads as U+FFFD.
const byte_table& ascii_table();

// ISO/IEC 8859 part 1-16 (12 does not exist), or nullptr. Positions a part leaves
// unassigned read as U+FFFD.
const byte_table* iso8859_table(int part);

}  // namespace lib13818
