#pragma once

#include <vector>

#include "lib13818/core/values.h"
#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// ISO 639 language descriptor (tag 0x0A; ISO/IEC 13818-1:2019 2.6.18): the languages of
// an elementary stream, 4 bytes each.
class DescriptorISO639Language : public Descriptor {
  public:
    static constexpr std::uint8_t tag = 0x0A;

    struct Language {
        LanguageCode ISO_639_language_code{};
        std::uint8_t audio_type = 0;
    };

    DescriptorISO639Language() = default;
    // Throws "descriptor length mismatch" unless the length is a multiple of 4.
    explicit DescriptorISO639Language(reader r);

    const char* name() const override { return "ISO_639_language_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::vector<Language> languages;
};

}  // namespace lib13818
