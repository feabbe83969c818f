#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("new_original_network_id", 16).hex(4),
    uimsbf("new_transport_stream_id", 16).hex(4),
    uimsbf("new_service_id", 16).hex(4),
};
}  // namespace

// service_move_descriptor, tag 0x60 (ETSI EN 300 468 V1.16.1 clause 6.2.36): where a service goes when it
// leaves this transport stream.
constexpr description service_move{.name = "service_move_descriptor", .tag = 0x60, .body = {"", fields}};

}  // namespace lib13818::descriptions
