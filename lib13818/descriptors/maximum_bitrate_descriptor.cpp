#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    reserved(2),
    uimsbf("maximum_bitrate", 22).in(units::four_hundred_bits),
};
}  // namespace

// maximum_bitrate_descriptor, tag 0x0E (ISO/IEC 13818-1:2018 clause 2.6.26): the highest rate of a
// programme or stream, coded in units of 50 bytes/s.
constexpr description maximum_bitrate{
    .name = "maximum_bitrate_descriptor", .tag = 0x0E, .body = {"", fields}};

}  // namespace lib13818::descriptions
