#include "lib13818/descriptors/video_stream_descriptor.h"

namespace lib13818 {

DescriptorVideoStream::DescriptorVideoStream(reader r) : Descriptor(r) {
    const std::uint8_t flags = r.u8();
    multiple_frame_rate_flag = flags & 0x80;
    frame_rate_code = (flags >> 3) & 0x0F;
    MPEG_1_only_flag = flags & 0x04;
    constrained_parameter_flag = flags & 0x02;
    still_picture_flag = flags & 0x01;
    if (MPEG_1_only_flag) return;
    profile_and_level_indication = r.u8();
    const std::uint8_t format = r.u8();
    chroma_format = format >> 6;
    frame_rate_extension_flag = format & 0x20;
    reserved = format & 0x1F;
}

void DescriptorVideoStream::dump_body(std::ostream& out) const {
    out << "TO IMPLEMENT!!!\n";
}

}  // namespace lib13818
