#pragma once

// A check of where the bytes pane finds records: the bytes there must begin the record.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "views/tree_node.h"

namespace kestrel::views::testing {

inline std::uint16_t u16_at(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

// True when the bytes at `at` begin the record: a descriptor with its tag and length, a
// loop entry with its id; any other record is taken as found.
struct begins {
    std::span<const std::uint8_t> section;
    std::size_t at;

    bool operator()(const lib::SdtService* s) const { return u16_at(section, at) == s->service_id; }
    bool operator()(const lib::NitTransportStream* ts) const {
        return u16_at(section, at) == ts->transport_stream_id;
    }
    bool operator()(const lib::EitEvent* e) const { return u16_at(section, at) == e->event_id; }
    bool operator()(const lib::ElementaryStream* es) const {
        return (u16_at(section, at + 1) & 0x1FFF) == es->elementary_PID;
    }
    // Descriptors of one kind in a loop differ in their fields: CA descriptors in their PID,
    // undecoded ones in their bytes.
    bool operator()(const lib::DescriptorCA* d) const {
        return descriptor(d) && (u16_at(section, at + 4) & 0x1FFF) == d->CA_PID;
    }
    bool operator()(const lib::DescriptorGeneric* d) const {
        return descriptor(d) && std::equal(d->data.begin(), d->data.end(), section.begin() + at + 2);
    }
    template <class T>
    bool operator()(const T* record) const {
        if constexpr (std::is_base_of_v<lib::Descriptor, T>)
            return descriptor(record);
        else
            return true;
    }
    template <class T>
    bool operator()(const T&) const {
        return true;
    }

    bool descriptor(const lib::Descriptor* d) const {
        return section[at] == d->descriptor_tag &&
               (d->descriptor_length < 0 || section[at + 1] == d->descriptor_length);
    }
};

}  // namespace kestrel::views::testing
