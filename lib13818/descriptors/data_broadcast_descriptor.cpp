#include "lib13818/descriptors/data_broadcast_ids.h"
#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    coded("data_broadcast_id", 16, data_broadcast_ids).hex(4),
    uimsbf("component_tag", 8),
    length("selector_length", 8),
    bytes("selector_byte", bytes_in("selector_length")),
    language("ISO_639_language_code"),
    length("text_length", 8),
    text("text", bytes_in("text_length")),
};
}  // namespace

// data_broadcast_descriptor, tag 0x64 (ETSI EN 300 468 V1.16.1 clause 6.2.11): a data broadcast service, the
// component that carries it and a description of it.
constexpr description data_broadcast{.name = "data_broadcast_descriptor", .tag = 0x64, .body = {"", fields}};

}  // namespace lib13818::descriptions
