#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// data_broadcast_id values (ETSI TR 101 162).
constexpr value_name ids[] = {
    {0x0001, "data pipe"},
    {0x0002, "asynchronous data stream"},
    {0x0003, "synchronous data stream"},
    {0x0004, "synchronised data stream"},
    {0x0005, "multi protocol encapsulation"},
    {0x0006, "data carousel"},
    {0x0007, "object carousel"},
    {0x0008, "DVB ATM streams"},
    {0x0009, "higher protocols based on asynchronous data streams"},
    {0x000A, "system software update"},
    {0x000B, "IP/MAC notification"},
    {0x00F0, "MHP object carousel"},
    {0x00F1, "MHP multiprotocol encapsulation"},
    {0x0123, "HbbTV"},
};

constexpr field fields[] = {
    coded("data_broadcast_id", 16, ids).hex(4),
    bytes("id_selector_byte", rest()),
};
}  // namespace

// data_broadcast_id_descriptor, tag 0x66 (ETSI EN 300 468 V1.16.1 clause 6.2.12): which data
// broadcast specification a data stream follows.
constexpr description data_broadcast_id{
    .name = "data_broadcast_id_descriptor", .tag = 0x66, .body = {"", fields}};

}  // namespace lib13818::descriptions
