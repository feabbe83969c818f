#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/core/values.h"
#include "lib13818/descriptors/local_time_offset_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// time_offset_section, table_id 0x73 (ETSI EN 300 468 V1.16.1 clause 5.2.6): the current
// UTC and the local time offsets. Its CRC_32 is kept as read, not checked.
class Tot : public ShortSection {
  public:
    const char* name() const override { return "time_offset_section"; }
    // Empties the general descriptors.
    void clear() override { general.clear(); }
    void dump(std::ostream& out) const override;

    UtcTime UTC_time;
    std::uint32_t CRC_32 = 0;
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorLocalTimeOffset> local_time_offset;
    std::vector<DescriptorDescribed> described;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x73; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 0; }
};

}  // namespace lib13818
