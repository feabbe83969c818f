#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/service_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// One service of an SDT section.
struct SdtService {
    SdtService() = default;
    // Reads the service at the front of the service loop; fewer than 5 bytes there throw
    // "too little data". Faults of its described descriptors go to `warnings`.
    SdtService(reader& loop, std::vector<SectionWarning>& warnings);
    void dump(std::ostream& out) const;

    int32_t service_id = 0;
    int32_t EIT_schedule_flag = 0;
    int32_t EIT_present_following_flag = 0;
    int32_t running_status = 0;
    int32_t free_CA_mode = 0;
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorCA> CA;
    std::vector<DescriptorService> service;
    std::vector<DescriptorDescribed> described;
};

// service_description_section, table_id 0x42 (actual) or 0x46 (other transport stream)
// (ETSI EN 300 468 V1.16.1 clause 5.2.3): the services of a transport stream with their
// names. table_id_extension is the transport_stream_id.
class Sdt : public Section {
  public:
    const char* name() const override;
    // Empties the services.
    void clear() override { services.clear(); }
    void dump(std::ostream& out) const override;

    int32_t original_network_id = 0;
    std::vector<SdtService> services;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x42 || table_id == 0x46; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 1; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
