#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {uimsbf("MPEG-4_visual_profile_and_level", 8).hex(2)};
}  // namespace

// MPEG-4_video_descriptor, tag 0x1B (ISO/IEC 13818-1:2018 clause 2.6.36): the profile and level of an
// MPEG-4 visual stream.
constexpr description MPEG4_video{.name = "MPEG-4_video_descriptor", .tag = 0x1B, .body = {"", fields}};

}  // namespace lib13818::descriptions
