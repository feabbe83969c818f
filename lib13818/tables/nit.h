#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/satellite_delivery_system_descriptor.h"
#include "lib13818/descriptors/service_list_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// One transport stream of a NIT section: where it is carried and which services it has.
struct NitTransportStream {
    NitTransportStream() = default;
    // Reads the entry at the front of the transport stream loop; faults of its described
    // descriptors go to `warnings`.
    NitTransportStream(reader& loop, std::vector<SectionWarning>& warnings);
    void dump(std::ostream& out) const;

    int32_t transport_stream_id = 0;
    int32_t original_network_id = 0;
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorCA> CA;
    std::vector<DescriptorSatelliteDeliverySystem> satellite_delivery_system;
    std::vector<DescriptorServiceList> service_list;
    std::vector<DescriptorDescribed> described;
};

// network_information_section, table_id 0x40 (actual) or 0x41 (other network) (ETSI EN 300
// 468 V1.16.1 clause 5.2.1): the transport streams of a network. table_id_extension is the
// network_id; the network descriptors other than CA are decoded into `described` (the
// network_name among them) where the catalogue describes them, else kept generic in
// `descriptors`.
class Nit : public Section {
  public:
    const char* name() const override;
    // Empties the network-level CA descriptors.
    void clear() override { CA.clear(); }
    void dump(std::ostream& out) const override;

    std::vector<DescriptorCA> CA;
    std::vector<DescriptorDescribed> described;
    std::vector<NitTransportStream> transport_streams;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x40 || table_id == 0x41; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 1; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
