#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name formats[] = {{0x00, "standard boot"}, {0x01, "enhanced boot"}};

// Where the enhanced boot finds the service gateway without reading the DSI first.
constexpr field enhanced_boot_fields[] = {
    uimsbf("module_version", 8),
    uimsbf("module_id", 16).hex(4),
    uimsbf("block_size", 16),
    uimsbf("module_size", 32),
    uimsbf("compression_method", 8),
    uimsbf("original_size", 32),
    uimsbf("timeout", 8),
    length("object_key_length", 8),
    bytes("object_key_data", bytes_in("object_key_length")),
};
constexpr record enhanced_boot{"enhanced_boot", enhanced_boot_fields};

constexpr field fields[] = {
    uimsbf("carousel_id", 32).hex(8),
    coded("format_id", 8, formats),
    group(enhanced_boot).when_equal("format_id", 0x01),
    bytes("private_data_byte", rest()),
};
}  // namespace

// carousel_identifier_descriptor, tag 0x13 (ISO/IEC 13818-6 clause 11; ETSI TS 102 812
// clause B.2.8.1 for the enhanced boot): the object carousel an elementary stream carries.
constexpr description carousel_identifier{
    .name = "carousel_identifier_descriptor", .tag = 0x13, .body = {"", fields}};

}  // namespace lib13818::descriptions
