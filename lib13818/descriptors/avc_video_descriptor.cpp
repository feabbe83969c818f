#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name profiles[] = {
    {66, "Baseline"},
    {77, "Main"},
    {88, "Extended"},
    {100, "High"},
    {110, "High 10"},
    {122, "High 4:2:2"},
    {244, "High 4:4:4 Predictive"},
    {118, "Multiview High"},
    {128, "Stereo High"},
};

constexpr field fields[] = {
    coded("profile_idc", 8, profiles),
    flag("constraint_set0_flag"),
    flag("constraint_set1_flag"),
    flag("constraint_set2_flag"),
    flag("constraint_set3_flag"),
    flag("constraint_set4_flag"),
    flag("constraint_set5_flag"),
    uimsbf("AVC_compatible_flags", 2),
    uimsbf("level_idc", 8),
    flag("AVC_still_present"),
    flag("AVC_24_hour_picture_flag"),
    flag("Frame_Packing_SEI_not_present_flag"),
    reserved(5),
};
}  // namespace

// AVC_video_descriptor, tag 0x28 (ISO/IEC 13818-1:2018 clause 2.6.64): the profile, level and constraints
// of an H.264 video stream.
constexpr description AVC_video{.name = "AVC_video_descriptor", .tag = 0x28, .body = {"", fields}};

}  // namespace lib13818::descriptions
