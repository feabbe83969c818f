#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {uimsbf("MPEG-4_audio_profile_and_level", 8).hex(2)};
}  // namespace

// MPEG-4_audio_descriptor, tag 0x1C (ISO/IEC 13818-1:2018 clause 2.6.38): the profile and level of an
// MPEG-4 audio stream.
constexpr description MPEG4_audio{.name = "MPEG-4_audio_descriptor", .tag = 0x1C, .body = {"", fields}};

}  // namespace lib13818::descriptions
