#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    flag("closed_gop_flag"),
    flag("identical_gop_flag"),
    uimsbf("max_gop_length", 14),
};
}  // namespace

// IBP_descriptor, tag 0x12 (ISO/IEC 13818-1:2018 clause 2.6.34): the GOP structure of an MPEG video stream.
constexpr description IBP{.name = "IBP_descriptor", .tag = 0x12, .body = {"", fields}};

}  // namespace lib13818::descriptions
