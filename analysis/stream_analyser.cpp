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

}  // namespace

stream_analyser::stream_analyser(const analysis_options& options)
    : options_(options),
      events_(options.limits.kept_errors),
      signalling_(options.limits),
      clock_(options.stamped, options.bitrate_bps),
      bins_(ms_ticks(options.limits.bin_interval_ms)) {
    if (options.seconds) limit_ticks_ = static_cast<std::int64_t>(*options.seconds) * ticks_per_second;
}

void stream_analyser::read(const ts::scanned_packet& scanned) {
    const std::uint8_t* p = scanned.bytes;
    const std::uint16_t pid = ts::packet_pid(p);
    held_packet& h = window_.add(scanned.number, pid);
    if (scanned.sync_regained) h.marks |= mark::sync_regained;
    if (scanned.wrong_sync_byte) {
        // Nothing else of the packet can be trusted, its PID included.
        h.marks |= mark::wrong_sync_byte;
        h.detail = p[0];
        return;
    }
    if (p[1] & 0x80) {
        h.marks |= mark::transport_error;
        return;
    }
    const bool scrambled = (p[3] & 0xC0) != 0;
    if (scrambled) h.marks |= mark::scrambled;
    if (pid == ts::null_pid) return;
    read_continuity(h, p);
    if (const auto pcr = read_pcr(p)) {
        h.marks |= mark::pcr;
        window_.pcrs.push_back(*pcr);
    }
    if (signalling_.carries_sections(pid)) {
        h.marks |= mark::section_pid;
        if (signalling_.is_pmt_pid(pid)) h.marks |= mark::pmt_pid;
        signalling_.read(ts::parse_packet(p), scanned.number, window_);
        if (signalling_.reference_pcr_pid() >= 0)
            clock_.prefer_reference(static_cast<std::uint16_t>(signalling_.reference_pcr_pid()));
    }
    if (!scrambled && (p[1] & 0x40) && starts_pts(p)) h.marks |= mark::pts;
}

void stream_analyser::read_continuity(held_packet& h, const std::uint8_t* p) {
    const bool adaptation = (p[3] & 0x20) != 0;
    const bool discontinuity = adaptation && p[4] > 0 && (p[5] & 0x80) != 0;
    const auto outcome = continuity_[h.pid].next(p[3] & 0x0F, (p[3] & 0x10) != 0, discontinuity);
    if (outcome.what == continuity_state::verdict::in_order) return;
    h.marks |= mark::continuity_error;
    h.detail = outcome.lost;  // 0 only for a third copy
}

void stream_analyser::release() {
    clock_.release();
    replay_cursor cursor;
    for (std::size_t i = 0; i < window_.held; ++i) {
        const std::uint64_t number = window_.first + i;
        replay(window_.packets[i], number, clock_.time_of(number), cursor);
    }
    window_.clear();
}

void stream_analyser::replay(const held_packet& h, std::uint64_t number, std::int64_t ticks,
                             replay_cursor& cursor) {
    if (cut_ticks_ != no_time || (limit_ticks_ != no_time && ticks >= limit_ticks_)) {
        if (cut_ticks_ == no_time) cut_ticks_ = ticks;
        return;
    }
    ++packets_;
    const std::uint16_t pid = h.pid;
    event_place at{number, 0, ticks, pid};
    last_ = at;
    if (h.marks & mark::sync_regained) {
        ++sync_regains_;
        events_.raise(indicator::ts_sync_loss, at, [] { return std::string("sync regained after a loss"); });
    }
    if (h.marks & mark::wrong_sync_byte) {
        events_.raise(indicator::sync_byte_error, at, [&] {
            char text[32];
            std::snprintf(text, sizeof text, "sync byte 0x%02x", h.detail);
            return std::string(text);
        });
        return;
    }
    pid_state& s = pids_[pid];
    at.pid_packet = pid_packets_[pid]++;
    if (at.pid_packet == 0) {
        s.first_packet = number;
        s.first_ticks = ticks;
    }
    if (ticks != no_time) bins_.count(pid, ticks);
    if (h.marks & mark::transport_error) {
        events_.raise(indicator::transport_error, at,
                      [] { return std::string("transport_error_indicator set"); });
        return;
    }
    if (h.marks & mark::scrambled) {
        ++s.scrambled;
        if (!first_scrambled_) first_scrambled_ = at;
    }
    if (pid == ts::null_pid) return;
    if (h.marks & mark::continuity_error) count_continuity_error(s, h, at);
    if (h.marks & mark::pcr) check_pcr(s, window_.pcrs[cursor.pcr++], at);
    signalling_.elementary_packet(at, events_);
    if (h.marks & mark::section_pid) {
        signalling_.packet_timers(at, (h.marks & mark::scrambled) != 0, (h.marks & mark::pmt_pid) != 0,
                                  events_);
        replay_sections(at, cursor);
    }
    if (h.marks & mark::pts) check_pts(s, at);
}

void stream_analyser::replay_sections(const event_place& at, replay_cursor& cursor) {
    const auto& sections = window_.sections;
    for (; cursor.section < sections.size() && sections[cursor.section].packet == at.packet;
         ++cursor.section) {
        const read_section& s = sections[cursor.section];
        const auto bytes = std::span<const std::uint8_t>(window_.section_bytes).subspan(s.offset, s.size);
        signalling_.section(at, s, bytes, events_);
    }
}

void stream_analyser::count_continuity_error(pid_state& s, const held_packet& h, const event_place& at) {
    ++s.cc_errors;
    s.lost_packets += h.detail;
    events_.raise(indicator::continuity_count_error, at, [&] {
        if (h.detail == 0) return std::string("duplicate (a third copy of a packet)");
        return "missing " + std::to_string(h.detail) + (h.detail == 1 ? " packet" : " packets");
    });
}

void stream_analyser::check_pcr(pid_state& s, const packet_pcr& pcr, const event_place& at) {
    ++s.pcr_count;
    s.accuracy.pcr(at.packet, pcr.value, pcr.discontinuity);
    std::string detail;
    if (at.ticks != no_time) {
        if (s.last_pcr_ticks != no_time) {
            const std::int64_t gap = at.ticks - s.last_pcr_ticks;
            s.pcr_gap_min = s.pcr_gaps == 0 ? gap : std::min(s.pcr_gap_min, gap);
            s.pcr_gap_max = s.pcr_gaps == 0 ? gap : std::max(s.pcr_gap_max, gap);
            ++s.pcr_gaps;
            if (gap > ms_ticks(options_.limits.pcr_interval_ms)) {
                detail = "PCR interval " + ms_text(gap);
                events_.raise(indicator::pcr_repetition_error, at, [&] { return detail; });
            }
        } else {
            s.first_pcr_ticks = at.ticks;
        }
        s.last_pcr_ticks = at.ticks;
    }
    if (s.last_pcr && !pcr.discontinuity) {
        const std::int64_t step = pcr_step(*s.last_pcr, pcr.value);
        if (step < 0 || step > max_pcr_step) {
            const std::string text = "PCR step " + ms_text(step) + " without discontinuity_indicator";
            events_.raise(indicator::pcr_discontinuity_indicator_error, at, [&] { return text; });
            detail = detail.empty() ? text : detail + ", " + text;
        }
    }
    s.last_pcr = pcr.value;
    if (!detail.empty() && at.ticks != no_time)
        events_.raise(indicator::pcr_error, at, [&] { return detail; });
}

void stream_analyser::check_pts(pid_state& s, const event_place& at) {
    const stream_kind kind = signalling_.kind(at.pid);
    if (kind != stream_kind::video && kind != stream_kind::audio) return;
    if (const auto gap = s.pts.occur(at.ticks, ms_ticks(max_pts_gap_ms)))
        events_.raise(indicator::pts_error, at, [&] { return "no PTS for " + seconds_text(*gap); });
}

}  // namespace kestrel::analysis
