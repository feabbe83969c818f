#include "views/row_builders.h"
#include "views/row_list.h"
#include "views/text_format.h"

namespace kestrel::views {

std::vector<value_row> rows_of(const lib::Cat& cat, text_decoder&) {
    static const field_list fields(
        "TABLE ID,SECTION SYNTAX INDICATOR,SECTION LENGTH,VERSION NUMBER,CURRENT NEXT INDICATOR,SECTION "
        "NUMBER,LAST SECTION NUMBER,CRC 32");
    row_list rows(fields);
    rows.add_na();
    rows.add_na();
    rows.add(decimal(cat.section_length));
    rows.add(decimal(cat.version_number));
    rows.add(decimal(cat.current_next_indicator));
    rows.add(decimal(cat.section_number));
    rows.add(decimal(cat.last_section_number));
    rows.add_na();
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Pat& pat, text_decoder&) {
    static const field_list fields(
        "TABLE ID,SECTION SYNTAX INDICATOR,SECTION LENGTH,TRANSPORT STREAM ID,VERSION NUMBER,CURRENT NEXT "
        "INDICATOR,SECTION NUMBER,LAST SECTION NUMBER,CRC 32");
    row_list rows(fields);
    rows.add_na();
    rows.add_na();
    rows.add(decimal(pat.section_length));
    rows.add(format("%04X", static_cast<unsigned>(pat.table_id_extension)));
    rows.add(decimal(pat.version_number));
    rows.add(decimal(pat.current_next_indicator));
    rows.add(decimal(pat.section_number));
    rows.add(decimal(pat.last_section_number));
    rows.add(format("%08X", pat.CRC_32));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Pmt& pmt, text_decoder&) {
    static const field_list fields(
        "TABLE ID,SECTION SYNTAX INDICATOR,RESERVED,SECTION LENGTH,PROGRAM NUMBER,RESERVED,VERSION "
        "NUMBER,CURRENT NEXT INDICATOR,SECTION NUMBER,LAST SECTION NUMBER,RESERVED,PCR PID,PROGRAM INFO "
        "LENGTH,CRC 32");
    row_list rows(fields);
    rows.add(format("%02X", static_cast<unsigned>(pmt.table_id)));
    rows.add_na();
    rows.add_na();
    rows.add(decimal(pmt.section_length));
    rows.add(format("%04X", static_cast<unsigned>(pmt.table_id_extension)));
    rows.add_na();
    rows.add(decimal(pmt.version_number));
    rows.add(decimal(pmt.current_next_indicator));
    rows.add(decimal(pmt.section_number));
    rows.add(decimal(pmt.last_section_number));
    rows.add_na();
    rows.add(format("%04X", static_cast<unsigned>(pmt.PCR_PID)));
    rows.add_na();
    rows.add(format("%08X", pmt.CRC_32));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::ElementaryStream& es, text_decoder&) {
    static const field_list fields("STREAM TYPE,RESERVED,ELEMENTARY PID,RESERVED,ES INFO LENGTH");
    row_list rows(fields);
    rows.add(format("%02X", static_cast<unsigned>(es.stream_type)));
    rows.add_na();
    rows.add_pid(format("%04X", static_cast<unsigned>(es.elementary_PID)), es.elementary_PID);
    rows.add_na();
    rows.add_na();
    return rows.take();
}

}  // namespace kestrel::views
