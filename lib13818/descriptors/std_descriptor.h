#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// STD descriptor (tag 0x11; ISO/IEC 13818-1:2019 2.6.32).
class DescriptorSTD : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x11;

    DescriptorSTD() = default;
    explicit DescriptorSTD(reader r);

    const char* name() const override { return "STD_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t leak_valid_flag = 0;
};

}  // namespace lib13818
