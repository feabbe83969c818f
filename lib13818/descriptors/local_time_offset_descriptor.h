#pragma once

#include <vector>

#include "lib13818/core/values.h"
#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// local_time_offset_descriptor, tag 0x58 (ETSI EN 300 468 V1.16.1 clause 6.2.20): per
// country and region, the offset of local time from UTC and its next change.
class DescriptorLocalTimeOffset : public Descriptor {
  public:
    struct Offset {
        LanguageCode country_code{};
        int32_t country_region_id = 0;
        int32_t local_time_offset_polarity = 0;
        HourMinute local_time_offset;
        UtcTime time_of_change;
        HourMinute next_time_offset;
    };

    DescriptorLocalTimeOffset() = default;
    // r spans exactly the descriptor; a length that is not a whole number of 13-byte
    // entries throws "descriptor start end mismatch".
    explicit DescriptorLocalTimeOffset(reader r);

    const char* name() const override { return "local_time_offset_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::vector<Offset> offsets;
};

}  // namespace lib13818
