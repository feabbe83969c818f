#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("xait_original_network_id", 16).hex(4),
    uimsbf("xait_service_id", 16).hex(4),
    uimsbf("xait_version_number", 5),
    uimsbf("xait_update_policy", 3),
};
}  // namespace

// XAIT_location_descriptor, tag 0x7D (ETSI TS 102 727 V1.1.1): the service
// that carries the XAIT of an MHP network.
constexpr description XAIT_location{.name = "XAIT_location_descriptor", .tag = 0x7D, .body = {"", fields}};

}  // namespace lib13818::descriptions
