#pragma once

#include <vector>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Any descriptor its loop does not decode: tag, length and the raw bytes after the header.
class DescriptorGeneric : public Descriptor {
  public:
    DescriptorGeneric() = default;
    explicit DescriptorGeneric(reader r);

    const char* name() const override;
    void dump_body(std::ostream& out) const override;

    std::vector<std::uint8_t> data;
};

// The display name of a descriptor tag as the generic descriptor gives it.
const char* descriptor_tag_name(int32_t tag);

}  // namespace lib13818
