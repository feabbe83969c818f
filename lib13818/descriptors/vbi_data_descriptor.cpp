#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name data_services[] = {
    {1, "EBU teletext"}, {2, "inverted teletext"}, {4, "VPS"},
    {5, "WSS"},          {6, "closed captioning"}, {7, "monochrome 4:2:2 samples"},
};
constexpr value_name parities[] = {{0, "second field"}, {1, "first field"}};

constexpr field line_fields[] = {
    reserved(2),
    coded("field_parity", 1, parities),
    uimsbf("line_offset", 5),
};
constexpr record line{"line", line_fields};

// Services other than these six carry reserved bytes instead of their lines.
constexpr field service_fields[] = {
    coded("data_service_id", 8, data_services),
    length("data_service_descriptor_length", 8),
    loop("lines", line, bytes_in("data_service_descriptor_length")).when_in("data_service_id", 1, 2),
    loop("lines", line, bytes_in("data_service_descriptor_length")).when_in("data_service_id", 4, 7),
    bytes("reserved_bytes", bytes_in("data_service_descriptor_length")).when_equal("data_service_id", 0),
    bytes("reserved_bytes", bytes_in("data_service_descriptor_length")).when_equal("data_service_id", 3),
    bytes("reserved_bytes", bytes_in("data_service_descriptor_length")).when_in("data_service_id", 8, 0xFF),
};
constexpr record service{"data_service", service_fields};

constexpr field fields[] = {loop("data_services", service, rest())};
}  // namespace

// VBI_data_descriptor, tag 0x45 (ETSI EN 300 468 V1.16.1 clause 6.2.47): the VBI services a stream carries
// and the lines they use.
constexpr description VBI_data{.name = "VBI_data_descriptor", .tag = 0x45, .body = {"", fields}};

}  // namespace lib13818::descriptions
