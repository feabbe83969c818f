#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {uimsbf("reference_service_id", 16).hex(4)};
}  // namespace

// time_shifted_service_descriptor, tag 0x4C (ETSI EN 300 468 V1.16.1 clause 6.2.45): the NVOD reference
// service a time-shifted service repeats.
constexpr description time_shifted_service{
    .name = "time_shifted_service_descriptor", .tag = 0x4C, .body = {"", fields}};

}  // namespace lib13818::descriptions
