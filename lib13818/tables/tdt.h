#pragma once

#include "lib13818/core/section.h"
#include "lib13818/core/values.h"

namespace lib13818 {

// time_date_section, table_id 0x70 (ETSI EN 300 468 V1.16.1 clause 5.2.5): the current UTC.
class Tdt : public ShortSection {
  public:
    const char* name() const override { return "time_date_section"; }
    // The TDT holds no sequence: nothing to empty.
    void clear() override {}
    void dump(std::ostream& out) const override;

    UtcTime UTC_time;

  protected:
    void parse_body(reader body) override { UTC_time = UtcTime::read(body); }
    bool is_valid_table_id() const override { return table_id == 0x70; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 0; }
};

}  // namespace lib13818
