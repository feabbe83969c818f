#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {uimsbf("ancillary_data_identifier", 8).hex(2)};
}  // namespace

// ancillary_data_descriptor, tag 0x6B (ETSI EN 300 468 V1.16.1 clause 6.2.2): the kinds of ancillary data an
// audio stream carries, one flag a bit.
constexpr description ancillary_data{.name = "ancillary_data_descriptor", .tag = 0x6B, .body = {"", fields}};

}  // namespace lib13818::descriptions
