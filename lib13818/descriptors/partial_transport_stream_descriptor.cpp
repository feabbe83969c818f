#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    reserved(2), uimsbf("peak_rate", 22).in(units::four_hundred_bits),
    reserved(2), uimsbf("minimum_overall_smoothing_rate", 22).in(units::four_hundred_bits),
    reserved(2), uimsbf("maximum_overall_smoothing_buffer", 14).in(units::byte_count),
};
}  // namespace

// partial_transport_stream_descriptor, tag 0x63 (ETSI EN 300 468 V1.16.1 clause 7.2.1): the rates of a
// recorded partial transport stream, in the SIT of a recording.
constexpr description partial_transport_stream{
    .name = "partial_transport_stream_descriptor", .tag = 0x63, .body = {"", fields}};

}  // namespace lib13818::descriptions
