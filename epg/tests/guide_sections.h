#pragma once

// Hand-made sections for the guide's tests: EIT, SDT, TDT and TOT through the section
// encoders, and a store fed with them.

#include <cstdint>
#include <string>
#include <vector>

#include "epg/guide_builder.h"
#include "epg/section_store.h"
#include "lib13818/core/crc32.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::epg::testing {

using encode::bytes;
using encode::utc_time;

constexpr std::uint16_t onid = 0x2F00, tsid = 0x0001, sid = 0x0011;

inline encode::eit_event event(std::uint16_t id, utc_time start, int minutes, const std::string& title,
                               bytes more = {}) {
    bytes d = encode::short_event_descriptor("eng", title, "");
    d.insert(d.end(), more.begin(), more.end());
    return {id, start, minutes, 1, false, d};
}

struct eit_spec {
    std::uint8_t table_id = 0x4E;
    std::uint8_t section = 0;
    std::uint8_t last_section = 1;
    std::uint8_t segment_last = 1;
    std::uint8_t last_table_id = 0x4E;
    std::uint8_t version = 0;
    std::uint16_t service = sid;
};

inline bytes eit(const eit_spec& s, const std::vector<encode::eit_event>& events) {
    return encode::eit_section({s.table_id, s.service, s.version, s.section, s.last_section},
                               {tsid, onid, s.segment_last, s.last_table_id}, events);
}

// The section with bytes changed at `at` (counted from the table_id) and its CRC sealed again.
inline bytes patched(bytes section, std::size_t at, const bytes& with) {
    std::copy(with.begin(), with.end(), section.begin() + static_cast<std::ptrdiff_t>(at));
    lib13818::seal_section(section);
    return section;
}
// Where the first event's start_time and duration stand in an EIT section.
constexpr std::size_t first_start = 16, first_duration = 21;

// An SDT actual naming the service and saying which of its EIT tables this stream sends.
inline bytes sdt(const std::string& name, bool schedule = true, bool present_following = true) {
    return encode::sdt_section(
        {0x42, tsid, 0, 0, 0}, onid,
        {{sid, schedule, present_following, 4, false, encode::service_descriptor(1, "Kestrel", name)}});
}

inline guide build(const std::vector<bytes>& sections, build_options options = {}) {
    section_store store;
    for (const bytes& s : sections)
        store.feed(s);
    return build_guide(store, options);
}

}  // namespace kestrel::epg::testing
