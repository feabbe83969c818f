#pragma once

// The bytes behind the table tree, for the bytes pane: the section that holds a node's
// record, where that record stands in it and which bits each of its value rows reads. The
// pane draws them; a click on a byte comes back here to find the node and row it belongs to.
//
// Records are found in the section bytes (record_ranges.h); described descriptors' rows
// come from their decoded positions and the other records' rows from a fixed layout per
// record kind (record_layouts.h).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "views/record_ranges.h"
#include "views/tree_node.h"

namespace kestrel::views {

// A run of bits of a section: from bit `first` (0 the most significant bit of its first
// byte) for `count` bits.
struct bit_range {
    std::size_t first = 0;
    std::size_t count = 0;

    std::size_t first_byte() const { return first / 8; }
    std::size_t end_byte() const { return (first + count + 7) / 8; }
    bool holds_byte(std::size_t byte) const { return count > 0 && byte >= first_byte() && byte < end_byte(); }

    friend bool operator==(const bit_range&, const bit_range&) = default;
};

// What the bytes pane shows for a node.
struct node_bytes {
    std::span<const std::uint8_t> section;  // empty: the node stands for no kept section
    std::optional<byte_range> record;
    // One per value row of the node's record, in row order; none for a row that stands for
    // no bits of its own (a name that needs no field, a field the record does not have).
    std::vector<std::optional<bit_range>> rows;
};

// The section, record and row bits of `node`; empty for networks, transponders, the plain
// nodes above the tables and sections the scan did not keep.
node_bytes bytes_of(const tree_node& node);

// The node of the section that holds `node`'s record (the section's own node), or null.
const tree_node* section_node(const tree_node& node);

// What a byte of a section stands for: the deepest node of the section's subtree whose
// record holds it, and the first of that node's rows whose bits do.
struct byte_owner {
    const tree_node* node = nullptr;
    std::optional<std::size_t> row;
};

// The owner of `byte` in the section shown for `shown` (any node of the section).
byte_owner owner_of_byte(const tree_node& shown, std::size_t byte);

}  // namespace kestrel::views
