#pragma once

#include <cstddef>
#include <cstdint>

#include "lib13818/core/reader.h"

namespace lib13818 {

// Where a decoded record stands in its section: its first byte and its byte count. A
// section is at most 4096 bytes long, so both fit 16 bits.
struct byte_range {
    std::uint16_t offset = 0;
    std::uint16_t length = 0;

    // From `first` in the section up to where `r` has read.
    static byte_range read_since(std::size_t first, const reader& r) {
        return {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(r.offset() - first)};
    }
    std::size_t end() const { return std::size_t{offset} + length; }
    bool contains(std::size_t byte) const { return byte >= offset && byte < end(); }

    friend bool operator==(const byte_range&, const byte_range&) = default;
};

}  // namespace lib13818
