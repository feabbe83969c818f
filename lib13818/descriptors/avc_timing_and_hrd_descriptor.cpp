#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// The time scale is 90 kHz unless N and K give it as 27 MHz * N / K.
constexpr field scale_fields[] = {uimsbf("N", 32), uimsbf("K", 32)};
constexpr record scale{"time_scale", scale_fields};

constexpr field timing_fields[] = {
    flag("90kHz_flag"),
    reserved(7),
    group(scale).when_clear("90kHz_flag"),
    uimsbf("num_units_in_tick", 32),
};
constexpr record timing{"timing", timing_fields};

constexpr field fields[] = {
    flag("hrd_management_valid_flag"),
    reserved(6),
    flag("picture_and_timing_info_present"),
    group(timing).when_set("picture_and_timing_info_present"),
    flag("fixed_frame_rate_flag"),
    flag("temporal_poc_flag"),
    flag("picture_to_display_conversion_flag"),
    reserved(5),
};
}  // namespace

// AVC_timing_and_HRD_descriptor, tag 0x2A (ISO/IEC 13818-1:2018 clause 2.6.66): the timing and
// hypothetical reference decoder of an H.264 video stream.
constexpr description AVC_timing_and_HRD{
    .name = "AVC_timing_and_HRD_descriptor", .tag = 0x2A, .body = {"", fields}};

}  // namespace lib13818::descriptions
