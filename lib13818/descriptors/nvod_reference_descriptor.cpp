#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field reference_fields[] = {
    uimsbf("transport_stream_id", 16).hex(4),
    uimsbf("original_network_id", 16).hex(4),
    uimsbf("service_id", 16).hex(4),
};
constexpr record reference{"reference", reference_fields};

constexpr field fields[] = {loop("references", reference, rest())};
}  // namespace

// NVOD_reference_descriptor, tag 0x4B (ETSI EN 300 468 V1.16.1 clause 6.2.26): the time-shifted services that
// make up a near video on demand service.
constexpr description NVOD_reference{.name = "NVOD_reference_descriptor", .tag = 0x4B, .body = {"", fields}};

}  // namespace lib13818::descriptions
