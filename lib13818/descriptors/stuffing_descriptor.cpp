#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {bytes("stuffing_byte", rest())};
}  // namespace

// stuffing_descriptor, tag 0x42 (ETSI EN 300 468 V1.16.1 clause 6.2.40): bytes that only fill a loop.
constexpr description stuffing{.name = "stuffing_descriptor", .tag = 0x42, .body = {"", fields}};

}  // namespace lib13818::descriptions
