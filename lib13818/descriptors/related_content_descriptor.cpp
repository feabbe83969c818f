#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

// related_content_descriptor, tag 0x74 (ETSI TS 102 323 V1.5.1): a stream that carries the
// related content table; it has no fields.
constexpr description related_content{.name = "related_content_descriptor", .tag = 0x74};

}  // namespace lib13818::descriptions
