#pragma once

#include <vector>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// content_descriptor, tag 0x54 (ETSI EN 300 468 V1.16.1 clause 6.2.9): an event's genre
// as content nibbles, plus two nibbles the broadcaster defines.
class DescriptorContent : public Descriptor {
  public:
    struct Item {
        int32_t content_nibble_level1 = 0;
        int32_t content_nibble_level2 = 0;
        int32_t user_nibble1 = 0;
        int32_t user_nibble2 = 0;
    };

    DescriptorContent() = default;
    // r spans exactly the descriptor; an odd length throws "descriptor length mismatch".
    explicit DescriptorContent(reader r);

    const char* name() const override { return "content_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::vector<Item> items;
};

}  // namespace lib13818
