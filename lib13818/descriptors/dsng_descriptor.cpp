#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {text("byte", rest())};
}  // namespace

// DSNG_descriptor, tag 0x68 (ETSI EN 300 468 V1.16.1 clause 6.2.14): the station identification of a
// satellite news gathering contribution, as text.
constexpr description DSNG{.name = "DSNG_descriptor", .tag = 0x68, .body = {"", fields}};

}  // namespace lib13818::descriptions
