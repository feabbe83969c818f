#pragma once

// Scan results for the view tests, built from encoded sections read back by the decoders.

#include "model/scan_result.h"
#include "model/section_maps.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::views::testing {

// The table with its bytes kept, as the scan keeps them.
template <class Table>
with_bytes<Table> parse(const encode::bytes& section) {
    with_bytes<Table> table;
    table.parse(section.data(), section.size());
    table.keep(section);
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

inline constexpr std::int32_t onid = 0x2F00;

// One transport stream with a CAT, PAT, SDTs, two PMTs and EITs that exercise the group
// rule, the extended event items, the stream type names and the service name lookups.
inline Transponder full_transponder() {
    using namespace encode;
    Transponder tp = tuned(1);
    tp.CAT = parse<lib13818::Cat>(cat_section({0x01, 0xFFFF}, ca_descriptor(0x0B00, 0x1F0)));
    satellite_delivery delivery;
    delivery.frequency_khz = 11778000;
    delivery.polarization = 1;
    delivery.symbol_rate = 27500000;
    file_section(tp.nit_actual, parse<lib13818::Nit>(network_section(
                                    {0x40, 0x2F01}, network_name_descriptor("Demo"),
                                    {{1, onid,
                                      concat({satellite_delivery_system_descriptor(delivery),
                                              service_list_descriptor({{0x11, 1}, {0x12, 1}})})}})));
    tp.PAT = parse<lib13818::Pat>(pat_section({0x00, 1}, {{0, 0x10}, {0x11, 0x100}, {0x12, 0x120}}));
    file_section(tp.sdt_actual,
                 parse<lib13818::Sdt>(sdt_section(
                     {0x42, 1}, onid,
                     {{0x11, true, true, 4, false, service_descriptor(1, "Kestrel", "Kestrel\rOne")}})));
    file_section(
        tp.sdt_other,
        parse<lib13818::Sdt>(sdt_section(
            {0x46, 2}, onid, {{0x21, true, true, 4, false, service_descriptor(1, "Kestrel", "Other Two")}})));
    const bytes three_ca =
        concat({ca_descriptor(0x0B00, 0x104), ca_descriptor(0x0B00, 0x105), ca_descriptor(0x0B00, 0x106)});
    tp.PMTs.push_back(parse<lib13818::Pmt>(
        pmt_section({0x02, 0x11}, 0x101, three_ca,
                    {{0x02, 0x101, stream_identifier_descriptor(1)}, {0x1B, 0x102, {}}, {0x80, 0x103, {}}})));
    tp.PMTs.push_back(parse<lib13818::Pmt>(pmt_section({0x02, 0x12}, 0x121, {}, {})));

    const bytes one_item = extended_event_descriptor(0, 0, "eng", {{"Year", "2026"}}, "");
    const bytes two_items = extended_event_descriptor(0, 0, "eng", {{"A", "1"}, {"B", "2"}}, "");
    file_section(tp.eit_actual_present_following,
                 parse<lib13818::Eit>(eit_section(
                     {0x4E, 0x11, 0, 0, 1}, {1, onid, 0, 0x4E},
                     {{0xA3, {}, 45, 4, false, concat({short_event_descriptor("eng", "News", ""), one_item})},
                      {0xA4, {}, 45, 1, false, two_items}})));
    file_section(tp.eit_other_schedule,
                 parse<lib13818::Eit>(eit_section({0x60, 0x21, 0, 0, 0}, {2, onid, 0, 0x60}, {})));
    return tp;
}

}  // namespace kestrel::views::testing
