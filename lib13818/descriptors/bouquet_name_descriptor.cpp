#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;
constexpr field fields[] = {text("bouquet_name", rest())};
}  // namespace

// bouquet_name_descriptor, tag 0x47 (ETSI EN 300 468 V1.16.1 clause 6.2.4): the name of the
// bouquet a BAT describes.
constexpr description bouquet_name{.name = "bouquet_name_descriptor", .tag = 0x47, .body = {"", fields}};

}  // namespace lib13818::descriptions
