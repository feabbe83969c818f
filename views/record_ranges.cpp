#include "views/record_ranges.h"

#include <algorithm>
#include <vector>

namespace kestrel::views {

namespace {

using bytes = std::span<const std::uint8_t>;

constexpr std::size_t crc_size = 4;

// The 12-bit length in the low bits of bytes `at` and `at` + 1; 0 past the section's end.
std::size_t length12(bytes section, std::size_t at) {
    if (at + 1 >= section.size()) return 0;
    return ((section[at] & 0x0Fu) << 8) | section[at + 1];
}

// Walks the runs that follow one another from byte `first` to `end`, each as long as
// size(section, at, end) says for the run at byte `at` (0: its length lies past `end`), up
// to the first whole run that stop(run) accepts; none when the runs end first.
template <class Size, class Stop>
std::optional<byte_range> find_run(bytes section, std::size_t first, std::size_t end, Size size, Stop stop) {
    end = std::min(end, section.size());
    for (std::size_t at = first; at < end;) {
        const std::size_t n = size(section, at, end);
        if (n == 0 || n > end - at) return std::nullopt;
        const byte_range run{static_cast<std::uint16_t>(at), static_cast<std::uint16_t>(n)};
        if (stop(run)) return run;
        at += n;
    }
    return std::nullopt;
}

// Accepts the run `index` (0 the first).
auto nth(std::size_t index) {
    return [index](const byte_range&) mutable { return index-- == 0; };
}

// A loop entry: a head of `head` bytes whose last two hold the length of its descriptors.
auto entry_size(std::size_t head) {
    return [head](bytes section, std::size_t at, std::size_t end) -> std::size_t {
        return at + head <= end ? head + length12(section, at + head - 2) : 0;
    };
}

// A descriptor: tag, length and that many bytes.
std::size_t descriptor_size(bytes section, std::size_t at, std::size_t end) {
    return at + 2 <= end ? 2 + std::size_t{section[at + 1]} : 0;
}

// An extended event item: a length-prefixed description, then a length-prefixed item.
std::size_t item_size(bytes section, std::size_t at, std::size_t end) {
    if (at >= end) return 0;
    const std::size_t item_length_at = at + 1 + section[at];
    return item_length_at < end ? item_length_at + 1 + section[item_length_at] - at : 0;
}

template <class Entry>
std::optional<std::size_t> index_of(const std::vector<Entry>& list, const Entry* entry) {
    if (list.empty() || entry < list.data() || entry >= list.data() + list.size()) return std::nullopt;
    return static_cast<std::size_t>(entry - list.data());
}

// The nearest node above `node` that refers to a record of type Parent.
template <class Parent>
const tree_node* ancestor_node(const tree_node& node) {
    for (const tree_node* p = node.parent; p != nullptr; p = p->parent)
        if (std::holds_alternative<const Parent*>(p->record)) return p;
    return nullptr;
}

// The node of the record whose descriptor loop holds the descriptor of `node`: the first
// node above it with a record, past the group node of a list of descriptors.
const tree_node* loop_holder(const tree_node& node) {
    const tree_node* p = node.parent;
    while (p != nullptr && std::holds_alternative<std::monostate>(p->record))
        p = p->parent;
    return p;
}

struct tag_of {
    template <class T>
    int operator()(const T* record) const {
        if constexpr (std::is_base_of_v<lib::Descriptor, T>)
            return record->descriptor_tag;
        else
            return -1;
    }
    template <class T>
    int operator()(const T&) const {
        return -1;
    }
};

// How many descriptors with `tag` come before `node` in its descriptor list: its earlier
// siblings under the group node of a list of several (one alone has no group node). The
// decoders put all the undescribed descriptors of one tag in a loop into the same list, in
// loop order, so this counts the loop's earlier descriptors of the tag that are not
// described.
std::size_t same_tag_before(const tree_node& node, int tag) {
    const tree_node* group = node.parent;
    if (group == nullptr || !std::holds_alternative<std::monostate>(group->record)) return 0;
    std::size_t count = 0;
    for (const auto& sibling : group->children) {
        if (sibling.get() == &node) break;
        count += std::visit(tag_of{}, sibling->record) == tag ? 1 : 0;
    }
    return count;
}

// The described descriptors of a loop holder, whose positions they keep themselves.
struct described_of {
    template <class T>
    const std::vector<lib::DescriptorDescribed>* operator()(const T* record) const {
        if constexpr (requires { record->described; })
            return &record->described;
        else
            return nullptr;
    }
    template <class T>
    const std::vector<lib::DescriptorDescribed>* operator()(const T&) const {
        return nullptr;
    }
};

bool is_described(const std::vector<lib::DescriptorDescribed>* described, std::size_t byte) {
    return described != nullptr &&
           std::any_of(described->begin(), described->end(), [&](const auto& d) { return d.byte == byte; });
}

// Where a record stands in its section.
struct record_range {
    const tree_node& node;
    bytes section;

    // Entry `entry` of `list`, the entries starting at byte `first` and running up to the
    // CRC_32, each a head of `head` bytes and its descriptors.
    template <class Entry>
    std::optional<byte_range> loop_entry(const std::vector<Entry>& list, const Entry* entry,
                                         std::size_t first, std::size_t head) const {
        const std::optional<std::size_t> index = index_of(list, entry);
        if (!index || section.size() < crc_size) return std::nullopt;
        return find_run(section, first, section.size() - crc_size, entry_size(head), nth(*index));
    }

    // The bytes of the descriptor `Descriptor` above this node, found as that node's record.
    template <class Descriptor>
    std::optional<std::pair<const Descriptor*, byte_range>> owner() const {
        const tree_node* holder = ancestor_node<Descriptor>(node);
        if (holder == nullptr) return std::nullopt;
        const std::optional<byte_range> range = range_of(*holder, section);
        if (!range) return std::nullopt;
        return std::pair{std::get<const Descriptor*>(holder->record), *range};
    }

    // Entry `entry` of a descriptor's entries of `size` bytes, which follow its length.
    template <class Descriptor>
    std::optional<byte_range> entry_of(const auto* entry, const auto& list_of, std::size_t size) const {
        const auto d = owner<Descriptor>();
        if (!d) return std::nullopt;
        const std::optional<std::size_t> index = index_of(list_of(*d->first), entry);
        if (!index) return std::nullopt;
        return byte_range{static_cast<std::uint16_t>(d->second.offset + 2 + *index * size),
                          static_cast<std::uint16_t>(size)};
    }

    std::optional<byte_range> operator()(const lib::SdtService* s) const {
        const tree_node* sdt = ancestor_node<lib::Sdt>(node);
        if (sdt == nullptr) return std::nullopt;
        return loop_entry(std::get<const lib::Sdt*>(sdt->record)->services, s, 11, 5);
    }
    std::optional<byte_range> operator()(const lib::EitEvent* e) const {
        const tree_node* eit = ancestor_node<lib::Eit>(node);
        if (eit == nullptr) return std::nullopt;
        return loop_entry(std::get<const lib::Eit*>(eit->record)->events, e, 14, 12);
    }
    // The transport streams follow the network descriptors and the loop's own length.
    std::optional<byte_range> operator()(const lib::NitTransportStream* ts) const {
        const tree_node* nit = ancestor_node<lib::Nit>(node);
        if (nit == nullptr) return std::nullopt;
        return loop_entry(std::get<const lib::Nit*>(nit->record)->transport_streams, ts,
                          10 + length12(section, 8) + 2, 6);
    }
    // The elementary streams follow the program info.
    std::optional<byte_range> operator()(const lib::ElementaryStream* es) const {
        const tree_node* pmt = ancestor_node<lib::Pmt>(node);
        if (pmt == nullptr) return std::nullopt;
        return loop_entry(std::get<const lib::Pmt*>(pmt->record)->streams, es, 12 + length12(section, 10), 5);
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
    // The items follow the descriptor number, the language and their loop's length byte.
    std::optional<byte_range> operator()(const lib::DescriptorExtendedEvent::Item* item) const {
        const auto d = owner<lib::DescriptorExtendedEvent>();
        if (!d) return std::nullopt;
        const std::optional<std::size_t> index = index_of(d->first->items, item);
        const std::size_t loop_length_at = d->second.offset + 6u;
        if (!index || loop_length_at >= section.size()) return std::nullopt;
        return find_run(section, loop_length_at + 1, loop_length_at + 1 + section[loop_length_at], item_size,
                        nth(*index));
    }
    // The running status entries follow the 3-byte header, 9 bytes each.
    std::optional<byte_range> operator()(const lib::RstEntry* e) const {
        const tree_node* rst = ancestor_node<lib::Rst>(node);
        if (rst == nullptr) return std::nullopt;
        const std::optional<std::size_t> index = index_of(std::get<const lib::Rst*>(rst->record)->entries, e);
        if (!index) return std::nullopt;
        return byte_range{static_cast<std::uint16_t>(3 + *index * 9), 9};
    }
    // A loop entry of a described descriptor stands where its record field does.
    std::optional<byte_range> operator()(const lib::described_record& r) const {
        const lib::DescriptorDescribed& d = r.descriptor();
        if (r.first() == 0 || r.first() > d.fields.size()) return (*this)(&d);
        const lib::decoded_field& f = d.fields[r.first() - 1u];
        return byte_range{f.byte, static_cast<std::uint16_t>(f.bits / 8)};
    }
    std::optional<byte_range> operator()(const lib::DescriptorDescribed* d) const {
        return byte_range{d->byte, static_cast<std::uint16_t>(d->descriptor_length + 2)};
    }
    template <class T>
    std::optional<byte_range> operator()(const T* record) const {
        if constexpr (is_section<T>)
            return byte_range{0, static_cast<std::uint16_t>(section.size())};
        else if constexpr (std::is_base_of_v<lib::Descriptor, T>)
            return descriptor(record->descriptor_tag);
        else
            return std::nullopt;
    }
    std::optional<byte_range> operator()(std::monostate) const { return std::nullopt; }

    // This node's descriptor, with tag `tag`: the one of its holder's loop that stands as
    // many undescribed descriptors of the tag in as the node in its list.
    std::optional<byte_range> descriptor(int tag) const {
        const tree_node* holder = loop_holder(node);
        if (holder == nullptr) return std::nullopt;
        const std::optional<byte_range> loop = std::visit(descriptor_loop{*holder, section}, holder->record);
        if (!loop) return std::nullopt;
        const std::vector<lib::DescriptorDescribed>* described = std::visit(described_of{}, holder->record);
        std::size_t before = same_tag_before(node, tag);
        return find_run(section, loop->offset, loop->end(), descriptor_size, [&](const byte_range& run) {
            if (section[run.offset] != tag || is_described(described, run.offset)) return false;
            return before-- == 0;
        });
    }

    // The descriptor loop of the record of `holder`.
    struct descriptor_loop {
        const tree_node& holder;
        bytes section;

        std::optional<byte_range> operator()(const lib::Cat*) const {
            if (section.size() < 8 + crc_size) return std::nullopt;
            return span(8, section.size() - crc_size - 8);
        }
        std::optional<byte_range> operator()(const lib::Pmt*) const {
            return span(12, length12(section, 10));
        }
        std::optional<byte_range> operator()(const lib::Nit*) const { return span(10, length12(section, 8)); }
        std::optional<byte_range> operator()(const lib::Tot*) const { return span(10, length12(section, 8)); }
        std::optional<byte_range> operator()(const lib::SdtService*) const { return after_head(5); }
        std::optional<byte_range> operator()(const lib::NitTransportStream*) const { return after_head(6); }
        std::optional<byte_range> operator()(const lib::EitEvent*) const { return after_head(12); }
        std::optional<byte_range> operator()(const lib::ElementaryStream*) const { return after_head(5); }
        template <class T>
        std::optional<byte_range> operator()(const T&) const {
            return std::nullopt;
        }

        static byte_range span(std::size_t first, std::size_t length) {
            return {static_cast<std::uint16_t>(first), static_cast<std::uint16_t>(length)};
        }
        // The descriptors of a loop entry, after its head of `head` bytes.
        std::optional<byte_range> after_head(std::size_t head) const {
            const std::optional<byte_range> entry = range_of(holder, section);
            if (!entry || entry->length < head) return std::nullopt;
            return span(entry->offset + head, entry->length - head);
        }
    };
};

}  // namespace

std::optional<byte_range> range_of(const tree_node& node, std::span<const std::uint8_t> section) {
    return std::visit(record_range{node, section}, node.record);
}

}  // namespace kestrel::views
