#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("old_original_network_id", 16).hex(4),
    uimsbf("old_transport_stream_id", 16).hex(4),
    uimsbf("old_service_id", 16).hex(4),
};
}  // namespace

// service_relocated_descriptor, extension 0x0B of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.10): where a
// service that moved here was before, so that receivers keep its place in their lists.
constexpr description service_relocated{
    .name = "service_relocated_descriptor", .tag = 0x7F, .extension = 0x0B, .body = {"", fields}};

}  // namespace lib13818::descriptions
