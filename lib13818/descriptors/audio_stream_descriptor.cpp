#include "lib13818/descriptors/audio_stream_descriptor.h"

namespace lib13818 {

DescriptorAudioStream::DescriptorAudioStream(reader r) : Descriptor(r) {
    const std::uint8_t b = r.u8();
    free_format_flag = b >> 7;
    ID = (b >> 6) & 1;
    layer = (b >> 4) & 3;
    variable_rate_audio_indicator = (b >> 3) & 1;
}

void DescriptorAudioStream::dump_body(std::ostream& out) const {
    out << "free_format_flag: " << free_format_flag << '\n'
        << "ID: " << ID << '\n'
        << "layer: " << layer << '\n'
        << "variable_rate_audio_indicator: " << variable_rate_audio_indicator << '\n';
}

}  // namespace lib13818
