#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field cell_fields[] = {uimsbf("cell_id", 16).hex(4)};
constexpr record cell{"cell", cell_fields};

constexpr field fields[] = {
    flag("availability_flag"),
    reserved(7),
    loop("cells", cell, rest()),
};
}  // namespace

// service_availability_descriptor, tag 0x72 (ETSI EN 300 468 V1.16.1 clause 6.2.34): the cells a service can
// (flag 1) or cannot (flag 0) be received in.
constexpr description service_availability{
    .name = "service_availability_descriptor", .tag = 0x72, .body = {"", fields}};

}  // namespace lib13818::descriptions
