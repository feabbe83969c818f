#include "lib13818/descriptors/data_broadcast_ids.h"
#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    coded("data_broadcast_id", 16, data_broadcast_ids).hex(4),
    bytes("id_selector_byte", rest()),
};
}  // namespace

// data_broadcast_id_descriptor, tag 0x66 (ETSI EN 300 468 V1.16.1 clause 6.2.12): which data
// broadcasting standard a data stream follows.
constexpr description data_broadcast_id{
    .name = "data_broadcast_id_descriptor", .tag = 0x66, .body = {"", fields}};

}  // namespace lib13818::descriptions
