#pragma once

#include <vector>

#include "lib13818/core/values.h"
#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// Teletext descriptor (tag 0x56; ETSI EN 300 468 V1.17.1 6.2.43): the pages a teletext
// stream carries, 5 bytes each.
class DescriptorTeletext : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x56;

    struct Page {
        LanguageCode ISO_639_language_code{};
        int32_t teletext_type = 0;
        int32_t teletext_magazine_number = 0;
        int32_t teletext_page_number = 0;

        static Page read(reader& r);
    };

    DescriptorTeletext() = default;
    // Throws "descriptor length mismatch" unless the length is a multiple of 5.
    explicit DescriptorTeletext(reader r);

    const char* name() const override { return "teletext_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::vector<Page> pages;
};

}  // namespace lib13818
