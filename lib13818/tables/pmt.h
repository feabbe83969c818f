#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/tables/pmt_descriptors.h"

namespace lib13818 {

// One entry of the PMT's elementary stream loop with its descriptors.
struct ElementaryStream : PmtDescriptors {
    int32_t stream_type = 0;
    int32_t elementary_PID = 0;

    // Reads one entry: a 5-byte head and its ES_info descriptors. Throws "too little data"
    // when the head or the declared ES_info runs past `loop`.
    static ElementaryStream read(reader& loop, std::vector<SectionWarning>& warnings);
};

// The program map table (table_id 0x02; ISO/IEC 13818-1:2019 2.4.4.9): one program's PCR
// PID, its descriptors and its elementary streams. table_id_extension is the program_number.
class Pmt : public Section, public PmtDescriptors {
  public:
    const char* name() const override { return "pmt"; }
    void clear() override { general.clear(); }
    void dump(std::ostream& out) const override;

    // Appends every CA descriptor of the program to `out`: the program's own first, then
    // each elementary stream's, stream by stream.
    void collect_CA(std::vector<DescriptorCA>& out) const;

    int32_t PCR_PID = 0;
    std::vector<ElementaryStream> streams;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id == 0x02; }
    bool check_syntax_indicator(int) const override { return true; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
