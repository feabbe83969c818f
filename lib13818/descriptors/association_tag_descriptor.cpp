#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// The selector of use 0x0000 is a transaction id and a time-out; other uses keep bytes.
constexpr field selector_fields[] = {
    uimsbf("transaction_id", 32).hex(8).when_equal("use", 0x0000),
    uimsbf("timeout", 32).when_equal("use", 0x0000),
    bytes("selector_byte", rest()).when_not_equal("use", 0x0000),
};
constexpr record selector{"selector", selector_fields};

constexpr field fields[] = {
    uimsbf("association_tag", 16).hex(4), uimsbf("use", 16).hex(4),
    length("selector_length", 8),         group(selector, bytes_in("selector_length")),
    bytes("private_data_byte", rest()),
};
}  // namespace

// association_tag_descriptor, tag 0x14 (ISO/IEC 13818-6 clause 11): the tag by which DSM-CC
// messages refer to an elementary stream.
constexpr description association_tag{
    .name = "association_tag_descriptor", .tag = 0x14, .body = {"", fields}};

}  // namespace lib13818::descriptions
