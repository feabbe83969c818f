#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field type_fields[] = {
    flag("AAC_type_flag"),
    flag("SAOC_DE_flag"),
    reserved(6),
    uimsbf("AAC_type", 8).when_set("AAC_type_flag"),
    bytes("additional_info", rest()),
};
constexpr record type{"type", type_fields};

constexpr field fields[] = {
    uimsbf("profile_and_level", 8),
    group(type).when_more_bytes(),
};
}  // namespace

// AAC_descriptor, tag 0x7C (ETSI EN 300 468 V1.16.1 Annex H): an MPEG-4 AAC audio stream.
// A descriptor of one byte holds only profile_and_level.
constexpr description AAC{.name = "AAC_descriptor", .tag = 0x7C, .body = {"", fields}};

}  // namespace lib13818::descriptions
