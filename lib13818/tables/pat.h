#pragma once

#include <cstddef>
#include <vector>

#include "lib13818/core/section.h"

namespace lib13818 {

// One 4-byte entry of the PAT loop. Program 0 (the network PID) is kept like any other.
struct PatProgram {
    int32_t program_number = 0;
    int32_t PID = 0;
};

// The program association table (table_id 0x00, PID 0x0000; ISO/IEC 13818-1:2019 2.4.4.4).
class Pat : public Section {
  public:
    const char* name() const override { return "pat"; }
    void clear() override { programs.clear(); }
    void dump(std::ostream& out) const override;

    std::size_t count() const { return programs.size(); }
    const PatProgram& program(std::size_t i) const { return programs.at(i); }

    std::vector<PatProgram> programs;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x00; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 1; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
