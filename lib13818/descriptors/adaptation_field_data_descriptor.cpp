#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {uimsbf("adaptation_field_data_identifier", 8).hex(2)};
}  // namespace

// adaptation_field_data_descriptor, tag 0x70 (ETSI EN 300 468 V1.16.1 clause 6.2.1): the kinds of data a
// stream's adaptation fields carry, one flag a bit.
constexpr description adaptation_field_data{
    .name = "adaptation_field_data_descriptor", .tag = 0x70, .body = {"", fields}};

}  // namespace lib13818::descriptions
