#pragma once

// Where the value rows of the records without a description read their bits: a fixed
// layout per record kind, relative to the record, plus the record's own length fields for
// what follows a run of variable length.

#include <cstdint>
#include <optional>
#include <span>

#include "views/section_bytes.h"
#include "views/tree_node.h"

namespace kestrel::views {

struct row_place {
    enum class from : std::uint8_t {
        none,        // the row stands for no bits
        start,       // `bits` bits, `bit` bits after the record's first
        end,         // `bits` bits, `bit` bits before the record's end (CRC_32)
        rest,        // from `bit` bits after the record's first to its end
        after_loop,  // `bits` bits, `bit` bits after a loop whose 12-bit length stands in bytes
                     // `at` and `at` + 1 of the record, the loop following them
        prefix,      // the length byte of the `index`-th of the length-prefixed runs that
                     // follow one another from byte `at` of the record
        prefixed,    // the bytes that length byte counts
    };
    from anchor = from::none;
    std::uint16_t bit = 0;
    std::uint16_t bits = 0;
    std::uint8_t at = 0;
    std::uint8_t index = 0;
};

// The places of a record's rows in row order; empty for described descriptors (their rows
// come from their decoded fields) and for records without rows.
std::span<const row_place> layout_of(const record_ref& record);

// The bits `place` stands for in the record at `record` of `section`; none when they lie
// outside the record (a field the record does not have) or count no bits.
std::optional<bit_range> place_bits(const row_place& place, std::span<const std::uint8_t> section,
                                    byte_range record);

}  // namespace kestrel::views
