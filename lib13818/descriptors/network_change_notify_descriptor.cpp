#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// Types 0x1-0x7 are minor changes, 0x8-0xF major ones.
constexpr value_name change_types[] = {
    {0x0, "message only"},
    {0x1, "minor change: default"},
    {0x2, "minor change: multiplex removed"},
    {0x3, "minor change: service changed"},
    {0x8, "major change: default"},
    {0x9, "major change: multiplex frequency changed"},
    {0xA, "major change: multiplex coverage changed"},
    {0xB, "major change: multiplex added"},
};

constexpr field change_fields[] = {
    uimsbf("network_change_id", 8),
    uimsbf("network_change_version", 8),
    utc_time("start_time_of_change"),
    duration("change_duration"),
    uimsbf("receiver_category", 3),
    flag("invariant_ts_present"),
    coded("change_type", 4, change_types),
    uimsbf("message_id", 8),
    uimsbf("invariant_ts_tsid", 16).hex(4).when_set("invariant_ts_present"),
    uimsbf("invariant_ts_onid", 16).hex(4).when_set("invariant_ts_present"),
};
constexpr record change{"change", change_fields};

constexpr field cell_fields[] = {
    uimsbf("cell_id", 16).hex(4),
    length("loop_length", 8),
    loop("changes", change, bytes_in("loop_length")),
};
constexpr record cell{"cell", cell_fields};

constexpr field fields[] = {loop("cells", cell, rest())};
}  // namespace

// network_change_notify_descriptor, extension 0x07 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.9): the
// changes to a network announced for each cell, when they happen and for how long.
constexpr description network_change_notify{
    .name = "network_change_notify_descriptor", .tag = 0x7F, .extension = 0x07, .body = {"", fields}};

}  // namespace lib13818::descriptions
