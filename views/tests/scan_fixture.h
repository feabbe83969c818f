#pragma once

// Scan results for the view tests, built from encoded sections read back by the decoders.

#include "model/scan_result.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::views::testing {

template <class Table>
Table parse(const encode::bytes& section) {
    Table table;
    table.parse(section.data(), section.size());
    return table;
}

inline encode::bytes concat(std::initializer_list<encode::bytes> parts) {
    encode::bytes out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A transponder tuned to 11778 V 3/4 27500, numbered by its transport_stream_id.
inline Transponder tuned(std::int32_t tsid) {
    Transponder tp;
    tp.frequency = 11.778;
    tp.polarisation = 1;
    tp.symbol_rate = 27.5;
    tp.FEC_text = "3/4";
    tp.transponder_number = tsid;
    return tp;
}

}  // namespace kestrel::views::testing
