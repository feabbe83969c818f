#include "epg/testing/synthetic_guide.h"

#include <string>

#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::epg::testing {

namespace {

constexpr std::uint16_t onid = 0x2F00, tsid = 1;
constexpr int events_per_section = 3, sections_per_segment = 2, segments_per_table = 32;

encode::utc_time half_hour(int n) {
    // 2026-03-14 00:00 UTC plus n half hours, within 64 days.
    const int minutes = n * 30;
    const int day = 14 + minutes / 1440;
    return {2026, 3 + (day - 1) / 31, (day - 1) % 31 + 1, minutes / 60 % 24, minutes % 60, 0};
}

encode::bytes descriptors(int service, int n) {
    const std::string name = "Programme " + std::to_string(n) + " of service " + std::to_string(service);
    encode::bytes d = encode::short_event_descriptor("eng", name, "A short description of " + name);
    for (const encode::bytes& more :
         {encode::extended_event_descriptor(0, 0, "eng", {{"Presenter", "Robin Kestrel"}},
                                            "A longer story about " + name + ", told for the benchmark."),
          encode::content_descriptor({{static_cast<std::uint8_t>(0x10 + (n % 10) * 0x10), 0}}),
          encode::component_descriptor(0x05, 0x0B, 1, "eng", ""),
          encode::component_descriptor(0x02, 0x03, 2, "eng", "")})
        d.insert(d.end(), more.begin(), more.end());
    return d;
}

}  // namespace

std::vector<std::vector<std::uint8_t>> synthetic_guide(int services, int events) {
    std::vector<std::vector<std::uint8_t>> out;
    std::vector<encode::sdt_service> named;
    const int sections = (events + events_per_section - 1) / events_per_section;
    const int segments = (sections + sections_per_segment - 1) / sections_per_segment;
    const auto last_table = static_cast<std::uint8_t>(0x50 + (segments - 1) / segments_per_table);
    for (int s = 0; s < services; ++s) {
        const auto sid = static_cast<std::uint16_t>(0x100 + s);
        named.push_back({sid, true, true, 4, false,
                         encode::service_descriptor(1, "Bench", "Service " + std::to_string(s))});
        for (int section = 0; section < sections; ++section) {
            const int segment = section / sections_per_segment;
            const auto table = static_cast<std::uint8_t>(0x50 + segment / segments_per_table);
            const int first_in_segment = (segment % segments_per_table) * 8;
            const auto number = static_cast<std::uint8_t>(first_in_segment + section % sections_per_segment);
            const bool last_of_table = segment == segments - 1 || (segment + 1) % segments_per_table == 0;
            const int table_last_segment =
                last_of_table ? segment % segments_per_table : segments_per_table - 1;
            std::vector<encode::eit_event> list;
            for (int e = section * events_per_section;
                 e < std::min(events, (section + 1) * events_per_section); ++e)
                list.push_back(
                    {static_cast<std::uint16_t>(e + 1), half_hour(e), 30, 1, false, descriptors(s, e)});
            const int segment_sections =
                std::min(sections - segment * sections_per_segment, sections_per_segment);
            out.push_back(encode::eit_section(
                {table, sid, 0, number,
                 static_cast<std::uint8_t>(table_last_segment * 8 + sections_per_segment - 1)},
                {tsid, onid, static_cast<std::uint8_t>(first_in_segment + segment_sections - 1), last_table},
                list));
        }
    }
    out.push_back(encode::sdt_section({0x42, tsid, 0, 0, 0}, onid, named));
    out.push_back(encode::tot_section(
        {2026, 3, 14, 0, 0, 0},
        encode::local_time_offset_descriptor({{"GBR", 0, false, 0, {2026, 3, 29, 1, 0, 0}, 60}})));
    return out;
}

}  // namespace kestrel::epg::testing
