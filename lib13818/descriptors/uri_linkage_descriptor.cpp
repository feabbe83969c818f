#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name linkage_types[] = {
    {0x00, "online SDT"}, {0x01, "DVB-IPTV SD&S"}, {0x02, "material resolution server"}, {0x03, "DVB-I"}};

constexpr field fields[] = {
    coded("uri_linkage_type", 8, linkage_types).hex(2),
    length("uri_length", 8),
    text("uri", bytes_in("uri_length")),
    uimsbf("min_polling_interval", 16).when_in("uri_linkage_type", 0x00, 0x01),
    bytes("private_data_byte", rest()),
};
}  // namespace

// URI_linkage_descriptor, extension 0x13 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.16): a URI where
// more of the service's signalling is found; min_polling_interval counts in 2 s steps.
constexpr description URI_linkage{
    .name = "URI_linkage_descriptor", .tag = 0x7F, .extension = 0x13, .body = {"", fields}};

}  // namespace lib13818::descriptions
