#include "lib13818/fields/catalogue.h"
#include "lib13818/names/delivery_codes.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field scrambling_fields[] = {reserved(6), uimsbf("scrambling_sequence_index", 18)};
constexpr record scrambling{"scrambling", scrambling_fields};

constexpr field fields[] = {
    flag("scrambling_sequence_selector"),
    flag("multiple_input_stream_flag"),
    reserved(1),  // backwards_compatibility_indicator in editions before V1.16.1
    flag("not_timeslice_flag"),
    reserved(2),
    coded("TS_GS_mode", 2, codes::ts_gs_mode),
    group(scrambling).when_set("scrambling_sequence_selector"),
    uimsbf("input_stream_identifier", 8).when_set("multiple_input_stream_flag"),
    uimsbf("timeslice_number", 8).when_clear("not_timeslice_flag"),
};
}  // namespace

// S2_satellite_delivery_system_descriptor, tag 0x79 (ETSI EN 300 468 V1.16.1 clause 6.2.13.3):
// what a DVB-S2 transponder adds to the satellite delivery descriptor beside it: the Gold code
// index of its scrambling, the input stream (ISI) of a multistream and the time slice.
// Descriptors of editions before not_timeslice_flag had its bits set, so they carry no
// timeslice_number.
constexpr description S2_satellite_delivery_system{
    .name = "S2_satellite_delivery_system_descriptor", .tag = 0x79, .body = {"", fields}};

}  // namespace lib13818::descriptions
