#pragma once

// The group rule that shows each descriptor list of a record (and each entry list of a
// descriptor): nothing for an empty list; one node with the singular name for a single
// element, the element's record behind it; for more, one node with the plural name and no
// record, with a child "0", "1", ... per element.

#include <vector>

#include "views/text_format.h"
#include "views/tree_node.h"

namespace kestrel::views {

struct group_names {
    const char* singular;
    const char* plural;
};

inline constexpr group_names ca_group{"CA_DESCRIPTOR", "CA_DESCRIPTORS"};
inline constexpr group_names general_group{"GENERAL_DESCRIPTOR", "GENERAL_DESCRIPTORS"};
inline constexpr group_names iso639_group{"ISO639LANGUAGE_DESCRIPTOR", "ISO639LANGUAGE_DESCRIPTORS"};
inline constexpr group_names satellite_delivery_group{"SATELLITEDELIVERYSYSTEM_DESCRIPTOR",
                                                      "SATELLITEDELIVERYSYSTEM_DESCRIPTORS"};
inline constexpr group_names service_group{"SERVICE_DESCRIPTOR", "SERVICE_DESCRIPTORS"};
inline constexpr group_names service_list_group{"SERVICELIST_DESCRIPTOR", "SERVICELIST_DESCRIPTORS"};
inline constexpr group_names teletext_group{"TELETEXT_DESCRIPTOR", "TELETEXT_DESCRIPTORS"};
inline constexpr group_names video_stream_group{"VIDEOSTREAM_DESCRIPTOR", "VIDEOSTREAM_DESCRIPTORS"};
inline constexpr group_names component_group{"COMPONENT_DESCRIPTOR", "COMPONENT_DESCRIPTORS"};
inline constexpr group_names extended_event_group{"EXTENDEDEVENT_DESCRIPTOR", "EXTENDEDEVENT_DESCRIPTORS"};
inline constexpr group_names short_event_group{"SHORTEVENT_DESCRIPTOR", "SHORTEVENT_DESCRIPTORS"};
inline constexpr group_names time_shifted_event_group{"TIMESHIFTEDEVENT_DESCRIPTOR",
                                                      "TIMESHIFTEDEVENT_DESCRIPTORS"};
inline constexpr group_names content_group{"CONTENT_DESCRIPTOR", "CONTENT_DESCRIPTORS"};
inline constexpr group_names local_time_offset_group{"LOCALTIMEOFFSET_DESCRIPTOR",
                                                     "LOCALTIMEOFFSET_DESCRIPTORS"};
inline constexpr group_names copyright_group{"COPYRIGHT_DESCRIPTOR", "COPYRIGHT_DESCRIPTORS"};
inline constexpr group_names ca_identifier_group{"CA_IDENTIFIER_DESCRIPTOR", "CA_IDENTIFIER_DESCRIPTORS"};
inline constexpr group_names audio_stream_group{"AUDIO_STREAM_DESCRIPTOR", "AUDIO_STREAM_DESCRIPTORS"};
inline constexpr group_names std_group{"STD_DESCRIPTOR", "STD_DESCRIPTORS"};
inline constexpr group_names private_data_group{"PRIVATE_DATA_DESCRIPTOR", "PRIVATE_DATA_DESCRIPTORS"};
inline constexpr group_names stream_identifier_group{"STREAM_IDENTIFIER_DESCRIPTOR",
                                                     "STREAM_IDENTIFIER_DESCRIPTORS"};

// A record reference to an element of a list.
template <class T>
record_ref reference(const T& element) {
    return &element;
}
inline record_ref reference(const std::int32_t& id) {
    return ca_system_id{&id};
}

// The entry lists of the descriptors that have their own loop, under the descriptor's node;
// every other element has none.
template <class T>
void add_entries(tree_node&, const T&) {}
void add_entries(tree_node& node, const lib::DescriptorISO639Language& d);
void add_entries(tree_node& node, const lib::DescriptorServiceList& d);
void add_entries(tree_node& node, const lib::DescriptorTeletext& d);
void add_entries(tree_node& node, const lib::DescriptorExtendedEvent& d);
void add_entries(tree_node& node, const lib::DescriptorContent& d);
void add_entries(tree_node& node, const lib::DescriptorLocalTimeOffset& d);
void add_entries(tree_node& node, const lib::DescriptorCAIdentifier& d);

void add_entries(tree_node& node, const lib::DescriptorDescribed& d);
void add_entries(tree_node& node, const lib::described_record& r);

// The group rule over `count` elements: add(parent, text, i) adds the node of element i.
template <class Add>
void add_grouped(tree_node& parent, std::size_t count, std::string singular, std::string plural, Add&& add) {
    if (count == 1) {
        add(parent, std::move(singular), 0);
    } else if (count > 1) {
        tree_node& group = parent.add(std::move(plural), item_kind::none);
        for (std::size_t i = 0; i < count; ++i)
            add(group, decimal(static_cast<long long>(i)), i);
    }
}

// `menu` is the context menu of each element's node.
template <class T>
void add_group(tree_node& parent, const std::vector<T>& list, group_names names,
               menu_kind menu = menu_kind::none) {
    add_grouped(parent, list.size(), names.singular, names.plural,
                [&](tree_node& at, std::string text, std::size_t i) {
                    add_entries(at.add(std::move(text), item_kind::record, reference(list[i]), menu),
                                list[i]);
                });
}

// The described descriptors of a loop: one group per kind, kinds in tag order.
void add_described_groups(tree_node& parent, const std::vector<lib::DescriptorDescribed>& described);

}  // namespace kestrel::views
