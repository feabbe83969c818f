#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    reserved(2),
    uimsbf("sb_leak_rate", 22).in(units::four_hundred_bits),
    reserved(2),
    uimsbf("sb_size", 22).in(units::byte_count),
};
}  // namespace

// smoothing_buffer_descriptor, tag 0x10 (ISO/IEC 13818-1:2018 clause 2.6.30): the leak rate and size of
// the buffer that smooths a programme's rate.
constexpr description smoothing_buffer{
    .name = "smoothing_buffer_descriptor", .tag = 0x10, .body = {"", fields}};

}  // namespace lib13818::descriptions
