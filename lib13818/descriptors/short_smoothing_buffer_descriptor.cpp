#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name sizes[] = {{1, "1536 bytes"}};

constexpr field fields[] = {
    coded("sb_size", 2, sizes),
    uimsbf("sb_leak_rate", 6),
    bytes("DVB_reserved", rest()),
};
}  // namespace

// short_smoothing_buffer_descriptor, tag 0x61 (ETSI EN 300 468 V1.16.1 clause 6.2.38): the
// smoothing buffer of a service or event, as the codes of the standard's size and leak rate
// tables.
constexpr description short_smoothing_buffer{
    .name = "short_smoothing_buffer_descriptor", .tag = 0x61, .body = {"", fields}};

}  // namespace lib13818::descriptions
