#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"
#include "lib13818/names/delivery_codes.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name modes[] = {{1, "S2X"}, {2, "time slicing"}, {3, "channel bonding"}};
constexpr value_name roll_offs[] = {{0, "0.35"}, {1, "0.25"}, {2, "0.20"},
                                    {4, "0.15"}, {5, "0.10"}, {6, "0.05"}};

constexpr field scrambling_fields[] = {reserved(6), uimsbf("scrambling_sequence_index", 18)};
constexpr record scrambling{"scrambling", scrambling_fields};

// The master channel, and each channel bonded to it, have the same shape.
constexpr field channel_fields[] = {
    bcd("frequency", 8).in(units::ten_kilohertz),
    bcd("orbital_position", 4).in(units::tenth_degree),
    coded("west_east_flag", 1, codes::west_east),
    coded("polarization", 2, codes::polarization),
    flag("multiple_input_stream_flag"),
    reserved(1),
    coded("roll_off", 3, roll_offs),
    reserved(4),
    bcd("symbol_rate", 7).in(units::hundred_symbols),
    uimsbf("input_stream_identifier", 8).when_set("multiple_input_stream_flag"),
};
constexpr record channel{"channel", channel_fields};

constexpr field bonding_fields[] = {
    flag("num_channel_bonds_minus_one"),
    reserved(7),
    loop("bonded_channels", channel, records_in("num_channel_bonds_minus_one", 1)),
};
constexpr record bonding{"bonding", bonding_fields};

constexpr field fields[] = {
    uimsbf("receiver_profiles", 5),
    reserved(3),
    coded("S2X_mode", 2, modes),
    flag("scrambling_sequence_selector"),
    reserved(3),
    coded("TS_GS_S2X_mode", 2, codes::ts_gs_mode),
    group(scrambling).when_set("scrambling_sequence_selector"),
    group(channel),
    uimsbf("timeslice_number", 8).when_equal("S2X_mode", 2),
    group(bonding).when_equal("S2X_mode", 3),
};
}  // namespace

// S2X_satellite_delivery_system_descriptor, extension 0x17 of tag 0x7F (ETSI EN 300 468
// V1.16.1 clause 6.4.6.5): a DVB-S2X transponder, its master channel and, with channel
// bonding, the channels bonded to it.
constexpr description S2X_satellite_delivery_system{
    .name = "S2X_satellite_delivery_system_descriptor", .tag = 0x7F, .extension = 0x17, .body = {"", fields}};

}  // namespace lib13818::descriptions
