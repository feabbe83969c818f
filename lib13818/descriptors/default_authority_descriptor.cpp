#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {text("default_authority", rest())};
}  // namespace

// default_authority_descriptor, tag 0x73 (ETSI TS 102 323 V1.5.1): the authority that CRIDs
// without one of their own belong to.
constexpr description default_authority{
    .name = "default_authority_descriptor", .tag = 0x73, .body = {"", fields}};

}  // namespace lib13818::descriptions
