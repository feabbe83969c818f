#include "views/value_rows.h"

#include "views/row_builders.h"

namespace kestrel::views {

namespace {

struct build_rows {
    lib13818::dvb_text_decoder& text;

    std::vector<value_row> operator()(std::monostate) const { return {}; }
    // Networks and transponders show no rows.
    std::vector<value_row> operator()(const Network*) const { return {}; }
    std::vector<value_row> operator()(const Transponder*) const { return {}; }
    std::vector<value_row> operator()(ca_system_id id) const { return rows_of(id, text); }
    std::vector<value_row> operator()(const lib::described_record& r) const { return rows_of(r, text); }
    template <class Record>
    std::vector<value_row> operator()(const Record* record) const {
        return rows_of(*record, text);
    }
};

}  // namespace

std::vector<value_row> value_rows(const record_ref& record, lib13818::dvb_text_decoder& text) {
    return std::visit(build_rows{text}, record);
}

}  // namespace kestrel::views
