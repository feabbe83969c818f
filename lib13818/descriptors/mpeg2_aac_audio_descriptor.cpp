#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name profiles[] = {{0, "Main"}, {1, "Low Complexity"}, {2, "Scalable Sampling Rate"}};

constexpr field fields[] = {
    coded("MPEG-2_AAC_profile", 8, profiles),
    uimsbf("MPEG-2_AAC_channel_configuration", 8),
    uimsbf("MPEG-2_AAC_additional_information", 8).hex(2),
};
}  // namespace

// MPEG-2_AAC_audio_descriptor, tag 0x2B (ISO/IEC 13818-1:2018 clause 2.6.68): the profile and channels of
// an MPEG-2 AAC audio stream.
constexpr description MPEG2_AAC_audio{
    .name = "MPEG-2_AAC_audio_descriptor", .tag = 0x2B, .body = {"", fields}};

}  // namespace lib13818::descriptions
