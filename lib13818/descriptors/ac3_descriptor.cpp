#include "lib13818/descriptors/ac3_fields.h"
#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    group(ac3_flags),
    reserved(4),
    group(ac3_optional),
    bytes("additional_info", rest()),
};
}  // namespace

// AC-3_descriptor, tag 0x6A (ETSI EN 300 468 V1.16.1 Annex D): an AC-3 audio stream.
constexpr description AC3{.name = "AC-3_descriptor", .tag = 0x6A, .body = {"", fields}};

}  // namespace lib13818::descriptions
