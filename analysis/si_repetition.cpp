#include "analysis/si_repetition.h"

#include <cstdio>
#include <string>

namespace kestrel::analysis {

namespace {

constexpr std::int64_t closest_copies_ms = 25;
constexpr std::uint8_t nit_other = 0x41;

// The longest a section of the table may be absent; 0 for tables without a limit here.
std::int64_t limit_ms(std::uint8_t table_id) {
    switch (table_id) {
        case 0x40:
        case 0x41:
        case 0x4A:
        case 0x46:
        case 0x4F:
            return 10'000;
        case 0x42:
        case 0x4E:
            return 2'000;
        case 0x50:  // the schedules of days 0-3 and 4-7, actual and other
        case 0x51:
        case 0x60:
        case 0x61:
            return 10'000;
        case 0x70:
        case 0x73:
            return 30'000;
        default:
            return 0;
    }
}

std::uint64_t field16(std::span<const std::uint8_t> s, std::size_t at) {
    return s.size() > at + 1 ? (std::uint64_t{s[at]} << 8 | s[at + 1]) : 0;
}

std::string section_text(std::uint64_t identity) {
    const auto table_id = static_cast<unsigned>(identity >> 56);
    char text[48];
    if (table_id == 0x70 || table_id == 0x73)
        std::snprintf(text, sizeof text, "table_id 0x%02x", table_id);
    else
        std::snprintf(text, sizeof text, "table_id 0x%02x section %u", table_id,
                      static_cast<unsigned>(identity >> 48 & 0xFF));
    return text;
}

}  // namespace

std::uint64_t si_repetition::identity(std::span<const std::uint8_t> s) {
    const std::uint8_t table_id = s[0];
    std::uint64_t id = std::uint64_t{table_id} << 56;
    if ((s[1] & 0x80) == 0 || s.size() < 8) return id;
    id |= std::uint64_t{s[6]} << 48 | field16(s, 3) << 32;
    if (table_id == 0x42 || table_id == 0x46) return id | field16(s, 8) << 16;  // original_network_id
    if (table_id >= 0x4E && table_id <= 0x6F)
        return id | field16(s, 8) << 16 | field16(s, 10);  // transport_stream_id, original_network_id
    return id;
}

void si_repetition::occur(const read_section& s, const event_place& at, event_log& events) {
    if (at.ticks == no_time) return;
    const std::int64_t limit = limit_ms(s.table_id);
    if (limit == 0) return;
    auto found = sections_.find(s.identity);
    if (found == sections_.end()) {
        if (sections_.size() == max_sections) return;
        found = sections_.emplace(s.identity, tracked{{}, at.pid}).first;
    }
    gap_timer& timer = found->second.timer;
    const std::int64_t since = timer.armed() ? at.ticks - timer.last : ms_ticks(closest_copies_ms);
    if (since < ms_ticks(closest_copies_ms))
        events.raise(indicator::si_repetition_error, at, [&] {
            return "two copies of " + section_text(s.identity) + " " + seconds_text(since) + " apart";
        });
    const auto gap = timer.occur(at.ticks, ms_ticks(limit));
    if (!gap) return;
    const auto absent = [&] { return section_text(s.identity) + " absent for " + seconds_text(*gap); };
    events.raise(indicator::si_repetition_error, at, absent);
    if (s.table_id == nit_other) events.raise(indicator::nit_other_error, at, absent);
}

void si_repetition::finish(const event_place& last, std::span<const std::uint64_t> pid_packets,
                           event_log& events) {
    for (const auto& entry : sections_) {
        const std::uint64_t id = entry.first;
        const tracked& section = entry.second;
        const auto table_id = static_cast<std::uint8_t>(id >> 56);
        const auto gap = section.timer.open_gap(last.ticks, ms_ticks(limit_ms(table_id)));
        if (!gap) continue;
        const event_place at{last.packet, pid_packets[section.pid], last.ticks, section.pid};
        const auto absent = [&] {
            return section_text(id) + " absent for " + seconds_text(*gap) + " until the end";
        };
        events.raise(indicator::si_repetition_error, at, absent, false);
        if (table_id == nit_other) events.raise(indicator::nit_other_error, at, absent, false);
    }
}

}  // namespace kestrel::analysis
