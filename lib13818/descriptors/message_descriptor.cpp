#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("message_id", 8),
    language("ISO_639_language_code"),
    text("text", rest()),
};
}  // namespace

// message_descriptor, extension 0x08 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.8): a message to show
// the viewer, which network_change_notify descriptors point to by message_id.
constexpr description message{
    .name = "message_descriptor", .tag = 0x7F, .extension = 0x08, .body = {"", fields}};

}  // namespace lib13818::descriptions
