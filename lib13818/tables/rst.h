#pragma once

#include <vector>

#include "lib13818/core/section.h"

namespace lib13818 {

// One entry of an RST: the running status of one event.
struct RstEntry {
    int32_t transport_stream_id = 0;
    int32_t original_network_id = 0;
    int32_t service_id = 0;
    int32_t event_id = 0;
    int32_t running_status = 0;
};

// running_status_section, table_id 0x71 (ETSI EN 300 468 V1.16.1 clause 5.2.7): quick
// updates of the running status of events.
class Rst : public ShortSection {
  public:
    const char* name() const override { return "running_status_section"; }
    // Empties the entries.
    void clear() override { entries.clear(); }
    void dump(std::ostream& out) const override;

    std::vector<RstEntry> entries;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x71; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 0; }
};

}  // namespace lib13818
