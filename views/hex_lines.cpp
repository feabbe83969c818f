#include "views/hex_lines.h"

#include <algorithm>

#include "views/text_format.h"

namespace kestrel::views {

namespace {

char shown_char(std::uint8_t byte) {
    return byte >= 0x20 && byte < 0x7F ? static_cast<char>(byte) : '.';
}

}  // namespace

std::vector<std::string> hex_lines(std::span<const std::uint8_t> section) {
    std::vector<std::string> lines;
    for (std::size_t first = 0; first < section.size(); first += bytes_per_line) {
        const std::span<const std::uint8_t> bytes =
            section.subspan(first, std::min(bytes_per_line, section.size() - first));
        std::string line = upper_hex(static_cast<std::uint32_t>(first), 4);
        line.resize(ascii_column, ' ');
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const std::string digits = upper_hex(bytes[i], 2);
            line.replace(hex_column + 3 * i, 2, digits);
            line += shown_char(bytes[i]);
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

byte_cell cell_of(std::size_t byte) {
    const std::size_t column = byte % bytes_per_line;
    return {byte / bytes_per_line, hex_column + 3 * column, ascii_column + column};
}

std::optional<std::size_t> byte_at(std::size_t line, std::size_t column, std::size_t section_size) {
    std::optional<std::size_t> in_line;
    if (column >= hex_column && column < hex_column + 3 * bytes_per_line)
        in_line = (column - hex_column) / 3;
    else if (column >= ascii_column && column < ascii_column + bytes_per_line)
        in_line = column - ascii_column;
    if (!in_line) return std::nullopt;
    const std::size_t byte = line * bytes_per_line + *in_line;
    if (byte >= section_size) return std::nullopt;
    return byte;
}

byte_span selected_bytes(std::size_t line, std::size_t column, std::size_t end_line, std::size_t end_column,
                         std::size_t section_size) {
    // A position off the bytes counts from the next byte on: the line's first before them,
    // the next line's after them.
    const auto from = [](std::size_t at_line, std::size_t at_column, std::size_t size) {
        if (const auto byte = byte_at(at_line, at_column, size)) return *byte;
        return (at_line + (at_column < hex_column ? 0 : 1)) * bytes_per_line;
    };
    const std::size_t first = std::min(from(line, column, section_size), section_size);
    std::size_t end = end_line * bytes_per_line;
    if (end_column > 0) {
        const auto last = byte_at(end_line, end_column - 1, section_size);
        end = last ? *last + 1 : from(end_line, end_column - 1, section_size);
    }
    end = std::min(end, section_size);
    return {first, std::max(first, end)};
}

std::string hex_text(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        if (!text.empty()) text += ' ';
        text += upper_hex(b, 2);
    }
    return text;
}

std::string bit_picture(const bit_range& bits, std::span<const std::uint8_t> section) {
    if (bits.count == 0 || (bits.first % 8 == 0 && bits.count % 8 == 0)) return {};
    std::string text;
    for (std::size_t byte = bits.first_byte(); byte < bits.end_byte() && byte < section.size(); ++byte) {
        text += "byte 0x" + upper_hex(static_cast<std::uint32_t>(byte), 4) + ": ";
        for (std::size_t bit = 0; bit < 8; ++bit) {
            const std::size_t at = byte * 8 + bit;
            const bool inside = at >= bits.first && at < bits.first + bits.count;
            if (bit == 4) text += ' ';
            text += inside ? ((section[byte] >> (7 - bit)) & 1 ? '1' : '0') : '.';
        }
        text += '\n';
    }
    return text;
}

}  // namespace kestrel::views
