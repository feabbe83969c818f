#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Stream identifier descriptor (tag 0x52; ETSI EN 300 468 V1.17.1 6.2.39): the component
// tag that links an elementary stream to the SDT and EIT component descriptors.
class DescriptorStreamIdentifier : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x52;

    DescriptorStreamIdentifier() = default;
    explicit DescriptorStreamIdentifier(reader r);

    const char* name() const override { return "stream_identifier_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t component_tag = 0;
};

}  // namespace lib13818
