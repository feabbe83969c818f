#pragma once

// One node of the table tree: its text, what selecting it does, the record it refers to in
// the scan result and its context menu. Nodes own their children through unique_ptr, so a
// node keeps its address while the tree lives and a widget can create its items lazily.
//
// A node points into the AllNetworks it was built from (never a copy): drop the tree before
// that AllNetworks changes.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "lib13818/descriptors/component_descriptor.h"
#include "lib13818/descriptors/content_descriptor.h"
#include "lib13818/descriptors/extended_event_descriptor.h"
#include "lib13818/descriptors/local_time_offset_descriptor.h"
#include "lib13818/descriptors/service_descriptor.h"
#include "lib13818/descriptors/short_event_descriptor.h"
#include "lib13818/descriptors/time_shifted_event_descriptor.h"
#include "lib13818/fields/described_descriptor.h"
#include "model/scan_result.h"

namespace kestrel::views {

// What selecting a node does to the value pane: plain, network and transponder nodes empty
// it, record nodes fill it with their record's rows, nodes of kind none leave it as it is.
enum class item_kind { plain, network, transponder, record, none };

// The context menu of a node.
enum class menu_kind { none, transponder, program, satellite_delivery };

// The commands of the context menus.
enum class tree_command {
    emm_streaming,
    ecm_streaming,
    emm_ecm_streaming,
    program_ecm_streaming,
    video_streaming,
    audio_streaming,
    private_streaming,
    set_tuner,
};

struct menu_item {
    const char* text;
    tree_command command;
};

// The items of a menu in their order; none for menu_kind::none.
std::span<const menu_item> menu_items(menu_kind menu);

// One CA_system_id of a CA identifier descriptor.
struct ca_system_id {
    const std::int32_t* id = nullptr;
    bool operator==(const ca_system_id&) const = default;
};

namespace lib = lib13818;

// The record a node refers to, as a typed pointer into the scan result.
using record_ref = std::variant<
    std::monostate, const Network*, const Transponder*, const lib::Cat*, const lib::Pat*, const lib::Pmt*,
    const lib::ElementaryStream*, const lib::Nit*, const lib::NitTransportStream*, const lib::Sdt*,
    const lib::SdtService*, const lib::Bat*, const lib::Rst*, const lib::RstEntry*, const lib::Tdt*,
    const lib::Tot*, const lib::Eit*, const lib::EitEvent*, const lib::DescriptorCA*,
    const lib::DescriptorGeneric*, const lib::DescriptorVideoStream*, const lib::DescriptorISO639Language*,
    const lib::DescriptorISO639Language::Language*, const lib::DescriptorSatelliteDeliverySystem*,
    const lib::DescriptorService*, const lib::DescriptorServiceList*,
    const lib::DescriptorServiceList::Service*, const lib::DescriptorTeletext*,
    const lib::DescriptorTeletext::Page*, const lib::DescriptorComponent*,
    const lib::DescriptorExtendedEvent*, const lib::DescriptorExtendedEvent::Item*,
    const lib::DescriptorShortEvent*, const lib::DescriptorTimeShiftedEvent*, const lib::DescriptorContent*,
    const lib::DescriptorContent::Item*, const lib::DescriptorLocalTimeOffset*,
    const lib::DescriptorLocalTimeOffset::Offset*, const lib::DescriptorCopyright*,
    const lib::DescriptorCAIdentifier*, ca_system_id, const lib::DescriptorAudioStream*,
    const lib::DescriptorSTD*, const lib::DescriptorPrivateDataIndicator*,
    const lib::DescriptorStreamIdentifier*, const lib::DescriptorDescribed*, lib::described_record>;

struct tree_node {
    std::string text;  // UTF-8, one line
    item_kind kind = item_kind::plain;
    record_ref record;
    menu_kind menu = menu_kind::none;
    tree_node* parent = nullptr;
    std::size_t row = 0;  // index among the parent's children
    std::vector<std::unique_ptr<tree_node>> children;

    // Appends a child and returns it.
    tree_node& add(std::string child_text, item_kind child_kind, record_ref child_record = {},
                   menu_kind child_menu = menu_kind::none);
};

}  // namespace kestrel::views
