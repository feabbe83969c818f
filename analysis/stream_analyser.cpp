#include "analysis/stream_analyser.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kestrel::analysis {

namespace {

constexpr std::int64_t max_pcr_step = ticks_per_second / 10;
constexpr std::int64_t max_pts_gap_ms = 700;

std::string ms_text(std::int64_t ticks) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", static_cast<double>(ticks) * 1000 / ticks_per_second);
    return text;
}

// PES streams whose headers carry no PTS (ISO/IEC 13818-1 Table 2-22's special stream_ids).
bool has_pes_header_fields(std::uint8_t stream_id) {
    switch (stream_id) {
        case 0xBC:
        case 0xBE:
        case 0xBF:
        case 0xF0:
        case 0xF1:
        case 0xF2:
        case 0xF8:
        case 0xFF:
            return false;
        default:
            return true;
    }
}

// Whether a PES header with a PTS starts in the packet's payload.
bool starts_pts(const std::uint8_t* p) {
    std::size_t start = ts::header_size;
    if (p[3] & 0x20) start += 1 + p[4];
    if ((p[3] & 0x10) == 0 || start + 14 > ts::packet_size) return false;
    const std::uint8_t* pes = p + start;
    if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || !has_pes_header_fields(pes[3])) return false;
    return (pes[7] & 0x80) != 0;
}

// A packet with payload only and no flags but payload_unit_start_indicator and
// transport_priority, as parse_packet gives it.
ts::packet plain_packet(const std::uint8_t* p) {
    ts::packet packet;
    packet.header.payload_unit_start_indicator = (p[1] & 0x40) != 0;
    packet.header.transport_priority = (p[1] & 0x20) != 0;
    packet.header.pid = ts::packet_pid(p);
    packet.header.continuity_counter = p[3] & 0x0F;
    packet.payload = {p + ts::header_size, ts::packet_size - ts::header_size};
    return packet;
}

}  // namespace

stream_analyser::stream_analyser(const analysis_options& options)
    : options_(options),
      events_(options.limits.kept_errors),
      signalling_(options.limits),
      clock_(options.stamped, options.bitrate_bps),
      bins_(ms_ticks(options.limits.bin_interval_ms)) {
    if (options.seconds) limit_ticks_ = static_cast<std::int64_t>(*options.seconds) * ticks_per_second;
}

std::size_t stream_analyser::read_usual(const std::uint8_t* p, std::size_t count, std::size_t stride) {
    const std::size_t held = window_.held;
    const std::size_t n = std::min(count, packet_window::capacity - held);
    std::uint16_t* const packets = window_.packets.data() + held;
    std::size_t i = 0;
    while (i < n) {
        // A stretch of packets of one PID, summed at its end: a count kept in memory and raised
        // packet by packet would make each packet wait for the one before.
        if (!may_be_usual(p)) break;
        const std::uint16_t pid = ts::packet_pid(p);
        packet_window::pid_sums& sums = window_.pids[pid];
        continuity_state& continuity = continuity_[pid];
        if (continuity.expected() < 0) break;
        const std::size_t start = i;
        // Same PID, no transport_error_indicator, no payload_unit_start_indicator (its PTS is
        // checked), payload only, not scrambled, and the counter in order.
        std::uint8_t header = static_cast<std::uint8_t>(0x10 | continuity.expected());
        while (i < n && ((p[1] << 8 | p[2]) & 0xDFFF) == pid && p[3] == header) {
            packets[i++] = pid;
            p += stride;
            header = static_cast<std::uint8_t>(0x10 | ((header + 1) & 0x0F));
        }
        if (i == start) break;
        continuity.followed((header - 1) & 0x0F);
        sums.count += static_cast<std::uint32_t>(i - start);
        sums.last_present = static_cast<std::uint32_t>(held + i);
    }
    window_.held = held + i;
    return i;
}

void stream_analyser::push_run(const ts::packet_run& run, const ts::packet_format& format) {
    const auto packet = [&](std::size_t i) {
        const std::uint8_t* unit = run.units + i * format.stride;
        return ts::scanned_packet{unit + format.prefix, {unit, format.prefix}, run.first_number + i};
    };
    if (!clock_.by_pcr()) {
        for (std::size_t i = 0; i < run.count; ++i)
            push(packet(i));
        return;
    }
    // The packets wait for the next PCR: the usual ones are read together, plain section
    // packets one by one past the general checks, the others the general way.
    std::size_t i = 0;
    while (i < run.count && !complete()) {
        const std::uint8_t* p = run.units + i * format.stride + format.prefix;
        std::size_t read = may_be_usual(p) ? read_usual(p, run.count - i, format.stride) : 0;
        if (read == 0 && read_plain_section_packet(p)) read = 1;
        i += read;
        if (window_.full())
            release();
        else if (read == 0)
            push(packet(i++));
    }
}

bool stream_analyser::read_plain_section_packet(const std::uint8_t* p) {
    const std::uint16_t pid = ts::packet_pid(p);
    packet_window::pid_sums& sums = window_.pids[pid];
    continuity_state& continuity = continuity_[pid];
    if ((p[1] & 0x80) != 0 || (p[3] & 0xF0) != 0x10 || pid == ts::null_pid || sums.first_present == 0 ||
        !signalling_.carries_sections(pid) || continuity.expected() != (p[3] & 0x0F))
        return false;
    continuity.followed(p[3] & 0x0F);
    const auto index = static_cast<std::uint32_t>(window_.held++);
    const auto in_window = static_cast<std::uint16_t>(sums.count++);
    sums.last_present = index + 1;
    window_.packets[index] = pid;
    std::uint16_t marks = (p[1] & 0x40) != 0 && starts_pts(p) ? mark::pts : 0;
    marks |= read_sections(plain_packet(p), index, false);
    if (marks != 0) window_.marked.push_back({static_cast<std::uint16_t>(index), in_window, marks, 0});
    return true;
}

void stream_analyser::read_packet(const ts::scanned_packet& scanned) {
    const auto index = static_cast<std::uint32_t>(window_.held++);
    if (index == 0) window_.first = scanned.number;
    const std::uint8_t* p = scanned.bytes;
    const std::uint16_t pid = ts::packet_pid(p);
    std::uint16_t marks = scanned.sync_regained ? mark::sync_regained : 0;
    if (scanned.wrong_sync_byte) {
        // Nothing else of the packet can be trusted, its PID included.
        window_.packets[index] = pid | packet_window::uncounted;
        window_.marked.push_back({static_cast<std::uint16_t>(index), 0,
                                  static_cast<std::uint16_t>(marks | mark::wrong_sync_byte), p[0]});
        return;
    }
    // The PID's packets are added up when the window is replayed.
    packet_window::pid_sums& sums = window_.pids[pid];
    const auto in_window = static_cast<std::uint16_t>(sums.count);
    if (pid_packets_[pid] + in_window == 0) marks |= mark::first_of_pid;
    if (sums.count++ == 0) window_.touched.push_back(pid);
    std::uint16_t entry = pid;
    std::uint8_t detail = 0;
    const bool scrambled = (p[3] & 0xC0) != 0 && (p[1] & 0x80) == 0;
    if (scrambled) {
        entry |= packet_window::scrambled;
        ++sums.scrambled;
        if (!scrambled_seen_) marks |= mark::first_scrambled;
        scrambled_seen_ = true;
    }
    if (p[1] & 0x80) {
        marks |= mark::transport_error;
        entry |= packet_window::absent;
    } else if (pid == ts::null_pid) {
        entry |= packet_window::absent;
    } else {
        if (sums.first_present == 0) {
            sums.first_present = index + 1;
            sums.first_present_pid_packet = pid_packets_[pid] + in_window;
        }
        sums.last_present = index + 1;
        const bool adaptation = (p[3] & 0x20) != 0;
        const bool discontinuity = adaptation && p[4] > 0 && (p[5] & 0x80) != 0;
        const auto outcome = continuity_[pid].next(p[3] & 0x0F, (p[3] & 0x10) != 0, discontinuity);
        if (outcome.what != continuity_state::verdict::in_order) {
            marks |= mark::continuity_error;
            detail = outcome.lost;  // 0 only for a third copy
        }
        if (adaptation) {
            if (const auto pcr = read_pcr(p)) {
                marks |= mark::pcr;
                window_.pcrs.push_back(*pcr);
            }
        }
        if (!scrambled && (p[1] & 0x40) && starts_pts(p)) marks |= mark::pts;
        if (signalling_.carries_sections(pid)) marks |= read_sections(ts::parse_packet(p), index, scrambled);
    }
    window_.packets[index] = entry;
    if (marks != 0) window_.marked.push_back({static_cast<std::uint16_t>(index), in_window, marks, detail});
}

std::uint16_t stream_analyser::read_sections(const ts::packet& packet, std::uint32_t index, bool scrambled) {
    const std::uint16_t pid = packet.header.pid;
    const bool pmt = signalling_.is_pmt_pid(pid);
    const std::size_t sections = window_.sections.size();
    signalling_.read(packet, static_cast<std::uint16_t>(index), window_);
    if (signalling_.reference_pcr_pid() >= 0)
        clock_.prefer_reference(static_cast<std::uint16_t>(signalling_.reference_pcr_pid()));
    // Replayed only when it ends sections or has timed checks of its own (the PAT's timer, a
    // scrambled PMT packet).
    const auto& all = window_.sections;
    if (all.size() == sections && pid != 0 && !(pmt && scrambled)) return 0;
    const bool timers_only = all.size() > sections && pid != 0 && !pmt &&
                             std::all_of(all.begin() + static_cast<std::ptrdiff_t>(sections), all.end(),
                                         [](const read_section& s) { return s.timers_only; });
    return mark::section_pid | (pmt ? mark::pmt_pid : 0) | (timers_only ? mark::timers_only : 0);
}

void stream_analyser::replay_marked(const marked_packet& m, const event_place& at, replay_cursor& cursor) {
    if (m.marks & mark::sync_regained) {
        ++sync_regains_;
        events_.raise(indicator::ts_sync_loss, at, [] { return std::string("sync regained after a loss"); });
    }
    if (m.marks & mark::wrong_sync_byte) {
        events_.raise(indicator::sync_byte_error, at, [&] {
            char text[32];
            std::snprintf(text, sizeof text, "sync byte 0x%02x", m.detail);
            return std::string(text);
        });
        return;
    }
    // Most marked packets of a signalling-dense stream only end sections: no PID state for those.
    constexpr std::uint16_t pid_marks = mark::first_of_pid | mark::transport_error | mark::first_scrambled |
                                        mark::continuity_error | mark::pcr | mark::pts;
    pid_state* s = (m.marks & pid_marks) ? &pids_[at.pid] : nullptr;
    if (m.marks & mark::first_of_pid) {
        s->first_packet = at.packet;
        s->first_ticks = at.ticks;
    }
    if (m.marks & mark::transport_error) {
        events_.raise(indicator::transport_error, at,
                      [] { return std::string("transport_error_indicator set"); });
        return;
    }
    if (m.marks & mark::first_scrambled) first_scrambled_ = at;
    if (m.marks & mark::continuity_error) count_continuity_error(*s, m, at);
    if (m.marks & mark::pcr) check_pcr(*s, window_.pcrs[cursor.pcr++], at);
    if (m.marks & mark::section_pid) {
        const bool scrambled = (window_.packets[m.index] & packet_window::scrambled) != 0;
        signalling_.packet_timers(at, scrambled, (m.marks & mark::pmt_pid) != 0, events_);
        replay_sections(m.index, at, cursor);
    }
    if (m.marks & mark::pts) check_pts(*s, at);
}

void stream_analyser::replay_sections(std::uint16_t index, const event_place& at, replay_cursor& cursor) {
    const auto& sections = window_.sections;
    for (; cursor.section < sections.size() && sections[cursor.section].index == index; ++cursor.section) {
        const read_section& s = sections[cursor.section];
        const auto bytes = std::span<const std::uint8_t>(window_.section_bytes).subspan(cursor.bytes, s.size);
        cursor.bytes += s.size;
        signalling_.section(at, s, bytes, events_);
    }
}

void stream_analyser::count_continuity_error(pid_state& s, const marked_packet& m, const event_place& at) {
    ++s.cc_errors;
    s.lost_packets += m.detail;
    events_.raise(indicator::continuity_count_error, at, [&] {
        if (m.detail == 0) return std::string("duplicate (a third copy of a packet)");
        return "missing " + std::to_string(m.detail) + (m.detail == 1 ? " packet" : " packets");
    });
}

void stream_analyser::check_pcr(pid_state& s, const packet_pcr& pcr, const event_place& at) {
    ++s.pcr_count;
    s.accuracy.pcr(at.packet, pcr.value, pcr.discontinuity);
    // The texts are made only for the events kept.
    std::optional<std::int64_t> late_gap, bad_step;
    if (at.ticks != no_time) {
        if (s.last_pcr_ticks != no_time) {
            const std::int64_t gap = at.ticks - s.last_pcr_ticks;
            s.pcr_gap_min = s.pcr_gaps == 0 ? gap : std::min(s.pcr_gap_min, gap);
            s.pcr_gap_max = s.pcr_gaps == 0 ? gap : std::max(s.pcr_gap_max, gap);
            ++s.pcr_gaps;
            if (gap > ms_ticks(options_.limits.pcr_interval_ms)) late_gap = gap;
        } else {
            s.first_pcr_ticks = at.ticks;
        }
        s.last_pcr_ticks = at.ticks;
    }
    if (s.last_pcr && !pcr.discontinuity) {
        const std::int64_t step = pcr_step(*s.last_pcr, pcr.value);
        if (step < 0 || step > max_pcr_step) bad_step = step;
    }
    s.last_pcr = pcr.value;
    const auto late_text = [&] { return "PCR interval " + ms_text(*late_gap); };
    const auto step_text = [&] {
        return "PCR step " + ms_text(*bad_step) + " without discontinuity_indicator";
    };
    if (late_gap) events_.raise(indicator::pcr_repetition_error, at, late_text);
    if (bad_step) events_.raise(indicator::pcr_discontinuity_indicator_error, at, step_text);
    if ((late_gap || bad_step) && at.ticks != no_time)
        events_.raise(indicator::pcr_error, at, [&] {
            if (late_gap && bad_step) return late_text() + ", " + step_text();
            return late_gap ? late_text() : step_text();
        });
}

void stream_analyser::check_pts(pid_state& s, const event_place& at) {
    const stream_kind kind = signalling_.kind(at.pid);
    if (kind != stream_kind::video && kind != stream_kind::audio) return;
    if (const auto gap = s.pts.occur(at.ticks, ms_ticks(max_pts_gap_ms)))
        events_.raise(indicator::pts_error, at, [&] { return "no PTS for " + seconds_text(*gap); });
}

}  // namespace kestrel::analysis
