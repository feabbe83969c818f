#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name profiles[] = {
    {1, "Main"}, {2, "Main 10"}, {3, "Main Still Picture"}, {4, "format range extensions"}};

constexpr field temporal_fields[] = {
    uimsbf("temporal_id_min", 3),
    reserved(5),
    uimsbf("temporal_id_max", 3),
    reserved(5),
};
constexpr record temporal{"temporal_layers", temporal_fields};

constexpr field fields[] = {
    uimsbf("profile_space", 2),
    flag("tier_flag"),
    coded("profile_idc", 5, profiles),
    uimsbf("profile_compatibility_indication", 32).hex(8),
    flag("progressive_source_flag"),
    flag("interlaced_source_flag"),
    flag("non_packed_constraint_flag"),
    flag("frame_only_constraint_flag"),
    uimsbf("copied_44bits", 44).hex(11),
    uimsbf("level_idc", 8),
    flag("temporal_layer_subset_flag"),
    flag("HEVC_still_present_flag"),
    flag("HEVC_24hr_picture_present_flag"),
    flag("sub_pic_hrd_params_not_present_flag"),
    reserved(2),
    uimsbf("HDR_WCG_idc", 2),
    group(temporal).when_set("temporal_layer_subset_flag"),
};
}  // namespace

// HEVC_video_descriptor, tag 0x38 (ISO/IEC 13818-1:2018 clause 2.6.95): the profile, tier and level of an
// H.265 video stream; level_idc is 30 times the level.
constexpr description HEVC_video{.name = "HEVC_video_descriptor", .tag = 0x38, .body = {"", fields}};

}  // namespace lib13818::descriptions
