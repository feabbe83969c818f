#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("CA_system_id", 16).hex(4),
    uimsbf("ECM_repetition_rate", 16).in(units::milliseconds),
    bytes("private_data_byte", rest()),
};
}  // namespace

// ECM_repetition_rate_descriptor, tag 0x78 (ETSI EN 301 192 V1.7.1): how often
// the ECMs of a conditional access system repeat.
constexpr description ECM_repetition_rate{
    .name = "ECM_repetition_rate_descriptor", .tag = 0x78, .body = {"", fields}};

}  // namespace lib13818::descriptions
