#include "views/section_bytes.h"

#include "model/section_maps.h"
#include "views/described_walk.h"
#include "views/record_layouts.h"
#include "views/record_ranges.h"

namespace kestrel::views {

namespace {

// The bytes the scan keeps beside a section's record; none for any other record and for
// a section filed without them.
struct kept_bytes {
    template <class T>
    std::span<const std::uint8_t> operator()(const T* record) const {
        if constexpr (is_section<T>) {
            if (const auto* kept = dynamic_cast<const with_bytes<T>*>(record)) return kept->bytes;
        }
        return {};
    }
    template <class T>
    std::span<const std::uint8_t> operator()(const T&) const {
        return {};
    }
};

struct is_section_record {
    template <class T>
    bool operator()(const T*) const {
        return is_section<T>;
    }
    template <class T>
    bool operator()(const T&) const {
        return false;
    }
};

bool is_section_node(const tree_node& node) {
    return std::visit(is_section_record{}, node.record);
}

std::vector<std::optional<bit_range>> described_rows(const lib::described_record& r) {
    std::vector<std::optional<bit_range>> rows;
    for_each_row_field(r, [&](const lib::decoded_field& f) {
        if (f.bits == 0)
            rows.emplace_back();
        else
            rows.push_back(bit_range{std::size_t{f.byte} * 8 + f.bit, f.bits});
    });
    return rows;
}

std::vector<std::optional<bit_range>> row_bits(const record_ref& record,
                                               std::span<const std::uint8_t> section,
                                               std::optional<byte_range> range) {
    if (const auto* r = std::get_if<lib::described_record>(&record)) return described_rows(*r);
    if (const auto* d = std::get_if<const lib::DescriptorDescribed*>(&record))
        return described_rows((*d)->body());
    std::vector<std::optional<bit_range>> rows;
    for (const row_place& place : layout_of(record))
        rows.push_back(range ? place_bits(place, section, *range) : std::nullopt);
    return rows;
}

// The deepest node below `node` whose record holds `byte`, looking through the nodes that
// only group others; null when no child holds it. A child with its parent's record (the
// programs under the PAT) holds nothing of its own.
const tree_node* deepest_holder(const tree_node& node, std::span<const std::uint8_t> section,
                                std::size_t byte) {
    for (const auto& child : node.children) {
        if (std::holds_alternative<std::monostate>(child->record)) {
            if (const tree_node* found = deepest_holder(*child, section, byte)) return found;
            continue;
        }
        if (child->record == node.record) continue;
        const std::optional<byte_range> range = range_of(*child, section);
        if (!range || !range->contains(byte)) continue;
        const tree_node* deeper = deepest_holder(*child, section, byte);
        return deeper != nullptr ? deeper : child.get();
    }
    return nullptr;
}

}  // namespace

const tree_node* section_node(const tree_node& node) {
    const tree_node* at = &node;
    while (at != nullptr && !is_section_node(*at))
        at = at->parent;
    while (at != nullptr && at->parent != nullptr && at->parent->record == at->record)
        at = at->parent;
    return at;
}

node_bytes bytes_of(const tree_node& node) {
    const tree_node* top = section_node(node);
    if (top == nullptr) return {};
    node_bytes out;
    out.section = std::visit(kept_bytes{}, top->record);
    if (out.section.empty()) return {};
    out.record = range_of(node, out.section);
    if (out.record && out.record->end() > out.section.size()) out.record.reset();
    out.rows = row_bits(node.record, out.section, out.record);
    return out;
}

byte_owner owner_of_byte(const tree_node& shown, std::size_t byte) {
    const tree_node* top = section_node(shown);
    if (top == nullptr) return {};
    const std::span<const std::uint8_t> section = std::visit(kept_bytes{}, top->record);
    if (byte >= section.size()) return {};
    const tree_node* holder = deepest_holder(*top, section, byte);
    byte_owner owner{holder != nullptr ? holder : top, std::nullopt};
    const node_bytes bytes = bytes_of(*owner.node);
    for (std::size_t i = 0; i < bytes.rows.size(); ++i)
        if (bytes.rows[i] && bytes.rows[i]->holds_byte(byte)) {
            owner.row = i;
            break;
        }
    return owner;
}

}  // namespace kestrel::views
