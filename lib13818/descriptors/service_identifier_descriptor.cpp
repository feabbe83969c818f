#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {text("textual_service_identifier", rest())};
}  // namespace

// service_identifier_descriptor, tag 0x71 (ETSI TS 102 812 V1.3.1): the
// textual identifier of a service, as the "dvb:" locators of interactive applications use.
constexpr description service_identifier{
    .name = "service_identifier_descriptor", .tag = 0x71, .body = {"", fields}};

}  // namespace lib13818::descriptions
