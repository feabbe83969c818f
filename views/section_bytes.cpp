#include "views/section_bytes.h"

#include <type_traits>

#include "views/described_walk.h"
#include "views/record_layouts.h"

namespace kestrel::views {

namespace {

using lib13818::byte_range;

template <class T>
constexpr bool is_section = std::is_base_of_v<lib::Section, T> || std::is_base_of_v<lib::ShortSection, T>;

// The section bytes a section's node keeps; none for any other record.
struct kept_bytes {
    template <class T>
    std::span<const std::uint8_t> operator()(const T* record) const {
        if constexpr (is_section<T>)
            return record->bytes;
        else
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

// The nearest node above `node` that refers to a record of type Parent.
template <class Parent>
const Parent* ancestor(const tree_node& node) {
    for (const tree_node* p = node.parent; p != nullptr; p = p->parent)
        if (const auto* record = std::get_if<const Parent*>(&p->record)) return *record;
    return nullptr;
}

// Entry `entry` of the fixed-size entries of `list`, which start at byte `first`.
template <class Entry>
std::optional<byte_range> nth_entry(const std::vector<Entry>& list, const Entry* entry, std::size_t first,
                                    std::size_t size) {
    if (list.empty() || entry < list.data() || entry >= list.data() + list.size()) return std::nullopt;
    const auto index = static_cast<std::size_t>(entry - list.data());
    return byte_range{static_cast<std::uint16_t>(first + index * size), static_cast<std::uint16_t>(size)};
}

// Where the record of a node stands in its section.
struct record_range {
    const tree_node& node;
    std::span<const std::uint8_t> section;

    template <class Descriptor>
    std::optional<byte_range> entry_of(const auto* entry, const auto& list_of, std::size_t size) const {
        const Descriptor* d = ancestor<Descriptor>(node);
        if (d == nullptr) return std::nullopt;
        return nth_entry(list_of(*d), entry, std::size_t{d->byte} + 2, size);
    }

    std::optional<byte_range> operator()(const lib::DescriptorISO639Language::Language* e) const {
        return entry_of<lib::DescriptorISO639Language>(
            e, [](const auto& d) -> auto& { return d.languages; }, 4);
    }
    std::optional<byte_range> operator()(const lib::DescriptorServiceList::Service* e) const {
        return entry_of<lib::DescriptorServiceList>(
            e, [](const auto& d) -> auto& { return d.services; }, 3);
    }
    std::optional<byte_range> operator()(const lib::DescriptorTeletext::Page* e) const {
        return entry_of<lib::DescriptorTeletext>(
            e, [](const auto& d) -> auto& { return d.pages; }, 5);
    }
    std::optional<byte_range> operator()(const lib::DescriptorContent::Item* e) const {
        return entry_of<lib::DescriptorContent>(
            e, [](const auto& d) -> auto& { return d.items; }, 2);
    }
    std::optional<byte_range> operator()(const lib::DescriptorLocalTimeOffset::Offset* e) const {
        return entry_of<lib::DescriptorLocalTimeOffset>(
            e, [](const auto& d) -> auto& { return d.offsets; }, 13);
    }
    std::optional<byte_range> operator()(ca_system_id id) const {
        return entry_of<lib::DescriptorCAIdentifier>(
            id.id, [](const auto& d) -> auto& { return d.CA_system_ids; }, 2);
    }
    // The running status entries follow the 3-byte header, 9 bytes each.
    std::optional<byte_range> operator()(const lib::RstEntry* e) const {
        const lib::Rst* rst = ancestor<lib::Rst>(node);
        return rst != nullptr ? nth_entry(rst->entries, e, 3, 9) : std::nullopt;
    }
    // A loop entry of a described descriptor stands where its record field does.
    std::optional<byte_range> operator()(const lib::described_record& r) const {
        const lib::DescriptorDescribed& d = r.descriptor();
        if (r.first() == 0 || r.first() > d.fields.size()) return (*this)(&d);
        const lib::decoded_field& f = d.fields[r.first() - 1u];
        return byte_range{f.byte, static_cast<std::uint16_t>(f.bits / 8)};
    }
    template <class T>
    std::optional<byte_range> operator()(const T* record) const {
        if constexpr (is_section<T>)
            return byte_range{0, static_cast<std::uint16_t>(section.size())};
        else if constexpr (std::is_base_of_v<lib::Descriptor, T>)
            return byte_range{record->byte, static_cast<std::uint16_t>(record->descriptor_length + 2)};
        else if constexpr (requires { record->at; })
            return record->at;
        else
            return std::nullopt;
    }
    std::optional<byte_range> operator()(std::monostate) const { return std::nullopt; }
};

std::optional<byte_range> range_of(const tree_node& node, std::span<const std::uint8_t> section) {
    return std::visit(record_range{node, section}, node.record);
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
