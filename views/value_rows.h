#pragma once

// The value rows of a record: its field names in their fixed order, each with its value
// text. Names repeat ("RESERVED" stands three times in a PMT's rows); a field the records
// do not keep shows "N/A".

#include <cstdint>
#include <string>
#include <vector>

#include "lib13818/core/dvb_text.h"
#include "views/tree_node.h"

namespace kestrel::views {

// Plain rows carry only text; a PID row offers PID streaming of its PID; a bytes row
// refers to the record's byte sequence (never empty).
enum class row_kind { plain, pid, bytes };

struct value_row {
    std::string name;
    std::string value;  // UTF-8, one line
    row_kind kind = row_kind::plain;
    std::int32_t pid = 0;
    const std::vector<std::uint8_t>* bytes = nullptr;
};

// The rows of a record, its texts decoded with `text`; none for a node without a record
// or for networks and transponders.
std::vector<value_row> value_rows(const record_ref& record, lib13818::dvb_text_decoder& text);

}  // namespace kestrel::views
