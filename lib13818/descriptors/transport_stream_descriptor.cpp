#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {text("byte", rest())};
}  // namespace

// transport_stream_descriptor, tag 0x67 (ETSI EN 300 468 V1.16.1 clause 6.2.46): the letters "DVB" in the
// TSDT of a DVB transport stream.
constexpr description transport_stream{
    .name = "transport_stream_descriptor", .tag = 0x67, .body = {"", fields}};

}  // namespace lib13818::descriptions
