#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;
constexpr field fields[] = {text("network_name", rest())};
}  // namespace

// network_name_descriptor, tag 0x40 (ETSI EN 300 468 V1.16.1 clause 6.2.27): the name of the
// network a NIT describes.
constexpr description network_name{.name = "network_name_descriptor", .tag = 0x40, .body = {"", fields}};

}  // namespace lib13818::descriptions
