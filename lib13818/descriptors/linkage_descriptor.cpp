#include <string>

#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name linkage_types[] = {
    {0x01, "information service"},
    {0x02, "EPG service"},
    {0x03, "CA replacement service"},
    {0x04, "TS containing complete network/bouquet SI"},
    {0x05, "service replacement service"},
    {0x06, "data broadcast service"},
    {0x07, "RCS map"},
    {0x08, "mobile hand-over"},
    {0x09, "system software update service"},
    {0x0A, "TS containing SSU BAT or NIT"},
    {0x0B, "IP/MAC notification service"},
    {0x0C, "TS containing INT BAT or NIT"},
    {0x0D, "event linkage"},
    {0x20, "downloadable font info linkage"},
};

std::string linkage_type_name(std::uint64_t type) {
    if (type >= 0x0E && type <= 0x1F) return "extended event linkage";
    if (type >= 0x80 && type <= 0xFE) return "user defined";
    for (const value_name& n : linkage_types)
        if (n.value == type) return n.name;
    return {};
}

constexpr value_name hand_over_types[] = {
    {1, "DVB hand-over to an identical service in a neighbouring country"},
    {2, "DVB hand-over to a local variation of the same service"},
    {3, "DVB hand-over to an associated service"},
};
constexpr value_name origin_types[] = {{0, "NIT"}, {1, "SDT"}};

// linkage_type 0x08: where a mobile receiver finds the service as it leaves the coverage.
constexpr field hand_over_fields[] = {
    coded("hand-over_type", 4, hand_over_types),
    reserved(3),
    coded("origin_type", 1, origin_types),
    uimsbf("network_id", 16).hex(4).when_in("hand-over_type", 1, 3),
    uimsbf("initial_service_id", 16).hex(4).when_clear("origin_type"),
};
constexpr record hand_over{"mobile_hand_over", hand_over_fields};

// linkage_type 0x09: the manufacturers whose update the linked service carries.
constexpr field oui_fields[] = {
    uimsbf("OUI", 24).hex(6),
    length("selector_length", 8),
    bytes("selector_byte", bytes_in("selector_length")),
};
constexpr record oui{"OUI", oui_fields};
constexpr field update_fields[] = {
    length("OUI_data_length", 8),
    loop("OUIs", oui, bytes_in("OUI_data_length")),
};
constexpr record update{"system_software_update", update_fields};

constexpr value_name ssu_table_types[] = {{0x01, "NIT"}, {0x02, "BAT"}};
constexpr value_name int_table_types[] = {{0x00, "not defined"}, {0x01, "NIT"}, {0x02, "BAT"}};

// linkage_type 0x0C: where the IP/MAC notification table is signalled.
constexpr field int_fields[] = {
    coded("table_type", 8, int_table_types),
    uimsbf("bouquet_id", 16).hex(4).when_equal("table_type", 0x02),
};
constexpr record int_table{"INT_signalling", int_fields};

// linkage_type 0x0D: the event the linked service shows at the same time.
constexpr field event_fields[] = {
    uimsbf("target_event_id", 16).hex(4),
    flag("target_listed"),
    flag("event_simulcast"),
    reserved(6),
};
constexpr record event{"event_linkage", event_fields};

constexpr value_name link_types[] = {
    {0, "SD"}, {1, "HD"}, {2, "frame compatible 3D"}, {3, "service compatible 3D"}};
constexpr value_name target_id_types[] = {{0, "transport_stream_id"},
                                          {1, "target_transport_stream_id"},
                                          {2, "any transport stream"},
                                          {3, "user_defined_id"}};

constexpr field target_fields[] = {
    uimsbf("target_transport_stream_id", 16).hex(4).when_equal("target_id_type", 1),
    uimsbf("target_original_network_id", 16).hex(4).when_set("original_network_id_flag"),
    uimsbf("target_service_id", 16).hex(4).when_set("service_id_flag"),
};
constexpr record target{"target", target_fields};

// linkage_types 0x0E-0x1F: several linked events, each naming its service as its flags say.
constexpr field extended_event_fields[] = {
    uimsbf("target_event_id", 16).hex(4),
    flag("target_listed"),
    flag("event_simulcast"),
    coded("link_type", 2, link_types),
    coded("target_id_type", 2, target_id_types),
    flag("original_network_id_flag"),
    flag("service_id_flag"),
    uimsbf("user_defined_id", 16).hex(4).when_equal("target_id_type", 3),
    group(target).when_not_equal("target_id_type", 3),
};
constexpr record extended_event{"event", extended_event_fields};
constexpr field extended_fields[] = {
    length("loop_length", 8),
    loop("events", extended_event, bytes_in("loop_length")),
};
constexpr record extended{"extended_event_linkage", extended_fields};

constexpr field fields[] = {
    uimsbf("transport_stream_id", 16).hex(4),
    uimsbf("original_network_id", 16).hex(4),
    uimsbf("service_id", 16).hex(4),
    uimsbf("linkage_type", 8).hex(2).described_by(linkage_type_name),
    group(hand_over).when_equal("linkage_type", 0x08),
    group(update).when_equal("linkage_type", 0x09),
    coded("table_type", 8, ssu_table_types).when_equal("linkage_type", 0x0A),
    group(int_table).when_equal("linkage_type", 0x0C),
    group(event).when_equal("linkage_type", 0x0D),
    group(extended).when_in("linkage_type", 0x0E, 0x1F),
    bytes("private_data_byte", rest()),
};
}  // namespace

// linkage_descriptor, tag 0x4A (ETSI EN 300 468 V1.16.1 clause 6.2.19): a service that gives more about this
// one (EPG, replacement, update, hand-over); linkage_type chooses what follows the three ids.
constexpr description linkage{.name = "linkage_descriptor", .tag = 0x4A, .body = {"", fields}};

}  // namespace lib13818::descriptions
