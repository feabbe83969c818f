#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    flag("bound_valid_flag"),
    uimsbf("LTW_offset_lower_bound", 15),
    reserved(1),
    uimsbf("LTW_offset_upper_bound", 15),
};
}  // namespace

// multiplex_buffer_utilization_descriptor, tag 0x0C (ISO/IEC 13818-1:2018 clause 2.6.22): the bounds of the
// legal time window offsets, in units of (27 MHz / 300) clock periods.
constexpr description multiplex_buffer_utilization{
    .name = "multiplex_buffer_utilization_descriptor", .tag = 0x0C, .body = {"", fields}};

}  // namespace lib13818::descriptions
