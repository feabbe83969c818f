#pragma once

// Where the record behind a tree node stands in its section. Decoding keeps no positions,
// so that it pays nothing for a display most sections never reach: they are found here, on
// demand, by walking the kept section bytes the way the decoders read them. Sections span
// all their bytes; loop entries and descriptors are the n-th of their loop; entries of a
// fixed size follow from their index; described descriptors and their loop entries carry
// their decoded positions.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

#include "views/tree_node.h"

namespace kestrel::views {

// A run of bytes of a section: its first byte and its byte count. A section is at most
// 4096 bytes long, so both fit 16 bits.
struct byte_range {
    std::uint16_t offset = 0;
    std::uint16_t length = 0;

    std::size_t end() const { return std::size_t{offset} + length; }
    bool contains(std::size_t byte) const { return byte >= offset && byte < end(); }

    friend bool operator==(const byte_range&, const byte_range&) = default;
};

template <class T>
constexpr bool is_section = std::is_base_of_v<lib::Section, T> || std::is_base_of_v<lib::ShortSection, T>;

// Where `node`'s record stands in `section`, the bytes of the section that holds it; none
// for nodes without a record of the section, or where the bytes end before the record.
std::optional<byte_range> range_of(const tree_node& node, std::span<const std::uint8_t> section);

}  // namespace kestrel::views
