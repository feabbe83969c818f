#pragma once

#include <vector>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Copyright descriptor (tag 0x0D; ISO/IEC 13818-1:2019 2.6.24).
class DescriptorCopyright : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x0D;

    DescriptorCopyright() = default;
    explicit DescriptorCopyright(reader r);

    const char* name() const override { return "copyright_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::uint32_t copyright_identifier = 0;
    std::vector<std::uint8_t> additional_copyright_info;
};

}  // namespace lib13818
