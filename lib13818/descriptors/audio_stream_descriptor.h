#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Audio stream descriptor (tag 0x03; ISO/IEC 13818-1:2019 2.6.4).
class DescriptorAudioStream : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x03;

    DescriptorAudioStream() = default;
    explicit DescriptorAudioStream(reader r);

    const char* name() const override { return "audio_stream_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t free_format_flag = 0;
    int32_t ID = 0;
    int32_t layer = 0;
    int32_t variable_rate_audio_indicator = 0;
};

}  // namespace lib13818
