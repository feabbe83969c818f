#pragma once

#include <vector>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// CA identifier descriptor (tag 0x53; ETSI EN 300 468 V1.17.1 6.2.5): the CA systems a
// service or event is scrambled with, 16 bits each.
class DescriptorCAIdentifier : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x53;

    DescriptorCAIdentifier() = default;
    // Throws "descriptor length mismatch" for an odd length.
    explicit DescriptorCAIdentifier(reader r);

    const char* name() const override { return "CA_system_id_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::vector<int32_t> CA_system_ids;
};

}  // namespace lib13818
