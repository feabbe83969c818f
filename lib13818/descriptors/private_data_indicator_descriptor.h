#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Private data indicator descriptor (tag 0x0F; ISO/IEC 13818-1:2019 2.6.28).
class DescriptorPrivateDataIndicator : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x0F;

    DescriptorPrivateDataIndicator() = default;
    explicit DescriptorPrivateDataIndicator(reader r);

    const char* name() const override { return "private_data_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::uint32_t private_data_indicator = 0;
};

}  // namespace lib13818
