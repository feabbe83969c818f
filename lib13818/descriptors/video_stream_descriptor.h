#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Video stream descriptor (tag 0x02; ISO/IEC 13818-1:2019 2.6.2). The profile, chroma and
// frame-rate extension fields are present only for MPEG-2 video (MPEG_1_only_flag 0);
// otherwise they keep their defaults (-1 for the numbers).
class DescriptorVideoStream : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x02;

    DescriptorVideoStream() = default;
    explicit DescriptorVideoStream(reader r);

    const char* name() const override { return "video_stream_descriptor"; }
    void dump_body(std::ostream& out) const override;

    bool multiple_frame_rate_flag = false;
    int32_t frame_rate_code = 0;
    bool MPEG_1_only_flag = false;
    bool constrained_parameter_flag = false;
    bool still_picture_flag = false;
    int32_t profile_and_level_indication = -1;
    int32_t chroma_format = -1;
    bool frame_rate_extension_flag = false;
    int32_t reserved = -1;
};

}  // namespace lib13818
