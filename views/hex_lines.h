#pragma once

// The text of the bytes pane: a section as lines of 16 bytes, each "0010  47 00 B0 ...
// G..", its offset, the bytes in hex and the same bytes as ASCII; where each byte stands in
// it, both ways; the hex of a selection for the clipboard; the bits of a field narrower
// than its bytes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "views/section_bytes.h"

namespace kestrel::views {

inline constexpr std::size_t bytes_per_line = 16;

// The columns of a line: the offset, then each byte's two hex digits and a blank, then
// one blank more and each byte's character.
inline constexpr std::size_t hex_column = 6;
inline constexpr std::size_t ascii_column = hex_column + 3 * bytes_per_line + 1;

std::vector<std::string> hex_lines(std::span<const std::uint8_t> section);

// Where byte `byte` shows: its line, the first of its hex digits, its character.
struct byte_cell {
    std::size_t line = 0;
    std::size_t hex = 0;
    std::size_t ascii = 0;
};
byte_cell cell_of(std::size_t byte);

// The byte shown at `column` of `line` (its hex digits, the blank after them, or its
// character); none for the offset, the gap and past the section's end.
std::optional<std::size_t> byte_at(std::size_t line, std::size_t column, std::size_t section_size);

// The bytes a text selection covers, hex digits or characters alike: from (line, column) up
// to, not including, (end_line, end_column); [first, end), empty when it covers none.
struct byte_span {
    std::size_t first = 0;
    std::size_t end = 0;
    friend bool operator==(const byte_span&, const byte_span&) = default;
};
byte_span selected_bytes(std::size_t line, std::size_t column, std::size_t end_line, std::size_t end_column,
                         std::size_t section_size);

// The bytes as upper-case hex, a blank between two.
std::string hex_text(std::span<const std::uint8_t> bytes);

// The bits of a field that starts or ends inside a byte, one line per byte that holds
// them: "byte 0x0005: ..0. ...." (the field's bits as their values, the others dots).
// Empty for a field of whole bytes.
std::string bit_picture(const bit_range& bits, std::span<const std::uint8_t> section);

}  // namespace kestrel::views
