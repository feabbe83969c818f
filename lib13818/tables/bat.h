#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// One transport stream of a BAT section.
struct BatTransportStream {
    BatTransportStream() = default;
    // Reads the entry at the front of the transport stream loop; faults of its described
    // descriptors go to `warnings`.
    BatTransportStream(reader& loop, std::vector<SectionWarning>& warnings);
    void dump(std::ostream& out) const;

    int32_t transport_stream_id = 0;
    int32_t original_network_id = 0;
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorCA> CA;
    std::vector<DescriptorDescribed> described;
};

// bouquet_association_section, table_id 0x4A (ETSI EN 300 468 V1.16.1 clause 5.2.2): the
// transport streams of a bouquet. table_id_extension is the bouquet_id; the bouquet
// descriptors other than CA are decoded into `described` (the bouquet_name among them)
// where the catalogue describes them, else kept generic in `descriptors`.
class Bat : public Section {
  public:
    const char* name() const override { return table_id == 0x4A ? "bouquet_association_section" : "ERROR"; }
    // Empties the bouquet-level CA descriptors.
    void clear() override { CA.clear(); }
    void dump(std::ostream& out) const override;

    std::vector<DescriptorCA> CA;
    std::vector<DescriptorDescribed> described;
    std::vector<BatTransportStream> transport_streams;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x4A; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 1; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
