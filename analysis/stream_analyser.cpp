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

}  // namespace

stream_analyser::stream_analyser(const analysis_options& options)
    : options_(options),
      events_(options.limits.kept_errors),
      signalling_(events_, options.limits),
      clock_(options.stamped, options.bitrate_bps),
      bins_(ms_ticks(options.limits.bin_interval_ms)) {
    if (options.seconds) limit_ticks_ = static_cast<std::int64_t>(*options.seconds) * ticks_per_second;
}

void stream_analyser::check(const timed_packet& t) {
    if (cut_ticks_ != no_time || (limit_ticks_ != no_time && t.ticks >= limit_ticks_)) {
        if (cut_ticks_ == no_time) cut_ticks_ = t.ticks;
        return;
    }
    ++packets_;
    const std::uint8_t* p = t.bytes;
    const std::uint16_t pid = ts::packet_pid(p);
    event_place at{t.number, 0, t.ticks, pid};
    last_ = at;
    if (t.flags & sync_regained) {
        ++sync_regains_;
        events_.raise(indicator::ts_sync_loss, at, [] { return std::string("sync regained after a loss"); });
    }
    if (t.flags & wrong_sync_byte) {
        // Nothing else of the packet can be trusted, its PID included.
        events_.raise(indicator::sync_byte_error, at, [&] {
            char text[32];
            std::snprintf(text, sizeof text, "sync byte 0x%02x", p[0]);
            return std::string(text);
        });
        return;
    }
    pid_state& s = pids_[pid];
    at.pid_packet = pid_packets_[pid]++;
    if (at.pid_packet == 0) {
        s.first_packet = t.number;
        s.first_ticks = t.ticks;
    }
    if (t.ticks != no_time) bins_.count(pid, t.ticks);
    if (p[1] & 0x80) {
        events_.raise(indicator::transport_error, at,
                      [] { return std::string("transport_error_indicator set"); });
        return;
    }
    const bool scrambled = (p[3] & 0xC0) != 0;
    if (scrambled) {
        ++s.scrambled;
        if (!first_scrambled_) first_scrambled_ = at;
    }
    if (pid == ts::null_pid) return;
    check_continuity(s, p, at);
    if (const auto pcr = read_pcr(p)) check_pcr(s, *pcr, at);
    signalling_.elementary_packet(at);
    if (signalling_.carries_sections(pid)) {
        const ts::packet packet = ts::parse_packet(p);
        signalling_.section_packet(packet, at);
    }
    if (!scrambled && (p[1] & 0x40)) check_pts(s, p, at);
}

void stream_analyser::check_continuity(pid_state& s, const std::uint8_t* p, const event_place& at) {
    const bool adaptation = (p[3] & 0x20) != 0;
    const bool discontinuity = adaptation && p[4] > 0 && (p[5] & 0x80) != 0;
    const auto outcome = s.continuity.next(p[3] & 0x0F, (p[3] & 0x10) != 0, discontinuity);
    using verdict = continuity_state::verdict;
    if (outcome.what == verdict::in_order) return;
    ++s.cc_errors;
    s.lost_packets += outcome.lost;
    events_.raise(indicator::continuity_count_error, at, [&] {
        switch (outcome.what) {
            case verdict::jump:
                return "missing " + std::to_string(outcome.lost) +
                       (outcome.lost == 1 ? " packet" : " packets");
            default:
                return std::string("duplicate (a third copy of a packet)");
        }
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

void stream_analyser::check_pts(pid_state& s, const std::uint8_t* p, const event_place& at) {
    const stream_kind kind = signalling_.kind(at.pid);
    if (kind != stream_kind::video && kind != stream_kind::audio) return;
    std::size_t start = ts::header_size;
    if (p[3] & 0x20) start += 1 + p[4];
    if ((p[3] & 0x10) == 0 || start + 14 > ts::packet_size) return;
    const std::uint8_t* pes = p + start;
    if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1 || !has_pes_header_fields(pes[3])) return;
    if ((pes[7] & 0x80) == 0) return;  // no PTS in this header
    if (const auto gap = s.pts.occur(at.ticks, ms_ticks(max_pts_gap_ms)))
        events_.raise(indicator::pts_error, at, [&] { return "no PTS for " + seconds_text(*gap); });
}

}  // namespace kestrel::analysis
