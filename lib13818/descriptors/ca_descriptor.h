#pragma once

#include <vector>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// CA descriptor (tag 0x09; ISO/IEC 13818-1:2019 2.6.16): a conditional-access system and
// the PID of its ECMs (in a PMT) or EMMs (in the CAT).
class DescriptorCA : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x09;

    DescriptorCA() = default;
    // Throws "invalid descriptor tag" when r does not hold a CA descriptor.
    explicit DescriptorCA(reader r);
    // A descriptor built field by field: it carries no length (descriptor_length -1) and
    // its private_data is for the caller to fill.
    DescriptorCA(int32_t CA_system_ID, int32_t CA_PID);

    const char* name() const override { return "CA_Descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t CA_system_ID = 0;
    int32_t CA_PID = 0;
    std::vector<std::uint8_t> private_data;
};

}  // namespace lib13818
