#pragma once

#include "lib13818/core/dvb_string.h"
#include "lib13818/core/values.h"
#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// component_descriptor, tag 0x50 (ETSI EN 300 468 V1.16.1 clause 6.2.8): the type of one
// elementary stream of an event (video format, audio mode, subtitles) and a text about it.
class DescriptorComponent : public Descriptor {
  public:
    DescriptorComponent() = default;
    // r spans exactly the descriptor; fewer than the 6 bytes of fields throw "too little data".
    explicit DescriptorComponent(reader r);

    const char* name() const override { return "component_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t stream_content = 0;
    int32_t component_type = 0;
    int32_t component_tag = 0;
    LanguageCode ISO_639_language_code{};
    DvbString text;
};

}  // namespace lib13818
