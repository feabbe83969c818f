#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/descriptors/ca_descriptor.h"

namespace lib13818 {

// The conditional access table (table_id 0x01, PID 0x0001; ISO/IEC 13818-1:2019 2.4.4.7):
// nothing but CA descriptors, which name the EMM PIDs. Any other tag fails the section.
class Cat : public Section {
  public:
    const char* name() const override { return "cat"; }
    void clear() override { CA_descriptors.clear(); }
    void dump(std::ostream& out) const override;

    std::vector<DescriptorCA> CA_descriptors;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x01; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 1; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
