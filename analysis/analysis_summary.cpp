// The end of an analysis: the checks that wait for the end of the stream, and the report.

#include <algorithm>
#include <string>
#include <utility>

#include "analysis/stream_analyser.h"

namespace kestrel::analysis {

namespace {

constexpr std::int64_t unreferenced_grace_ms = 500;
constexpr std::uint16_t last_reserved_pid = 0x1F;
constexpr double bits_per_packet = ts::packet_size * 8;

double seconds(std::int64_t ticks) {
    return static_cast<double>(ticks) / ticks_per_second;
}
double milliseconds(std::int64_t ticks) {
    return seconds(ticks) * 1000;
}

const char* fixed_kind(std::uint16_t pid) {
    switch (pid) {
        case 0x00:
            return "PAT";
        case 0x01:
            return "CAT";
        case 0x10:
            return "NIT";
        case 0x11:
            return "SDT/BAT";
        case 0x12:
            return "EIT";
        case 0x13:
            return "RST";
        case 0x14:
            return "TDT/TOT";
        case ts::null_pid:
            return "null";
        default:
            return nullptr;
    }
}

const char* stream_kind_name(stream_kind kind) {
    switch (kind) {
        case stream_kind::video:
            return "video";
        case stream_kind::audio:
            return "audio";
        case stream_kind::subtitles:
            return "subtitles";
        case stream_kind::teletext:
            return "teletext";
        case stream_kind::data:
            return "data";
        case stream_kind::none:
            break;
    }
    return nullptr;
}

}  // namespace

const char* time_base_name(time_base base) {
    switch (base) {
        case time_base::pcr:
            return "pcr";
        case time_base::arrival:
            return "arrival";
        case time_base::given:
            return "given";
        case time_base::none:
            break;
    }
    return "none";
}

bool analysis_report::failed() const {
    return std::any_of(indicators.begin(), indicators.end(), [](const indicator_report& r) {
        const indicator_info& i = info(r.which);
        return i.priority <= 2 && !i.estimate && r.count && *r.count > 0;
    });
}

void stream_analyser::finish_unreferenced() {
    const std::int64_t first_pmt = signalling_.first_pmt();
    for (std::uint16_t pid = last_reserved_pid + 1; pid < ts::null_pid; ++pid) {
        const pid_state& s = std::as_const(pids_)[pid];
        if (pid_packets_[pid] == 0 || signalling_.is_pmt_pid(pid) || signalling_.is_ecm_pid(pid) ||
            signalling_.is_emm_pid(pid))
            continue;
        // The grace runs from the PID's first packet, but not before the first PMT could name it.
        const std::int64_t start =
            std::max<std::int64_t>(std::max<std::int64_t>(s.first_ticks, 0), first_pmt);
        const std::int64_t deadline = start + ms_ticks(unreferenced_grace_ms);
        const event_place at{s.first_packet, 0, s.first_ticks, pid};
        const auto check = [&](indicator which, std::int64_t named, const char* by) {
            if (named != no_time && named <= deadline) return;
            events_.raise(
                which, at,
                [&] { return std::string(named == no_time ? "never named by " : "named late by ") + by; },
                false);
        };
        check(indicator::unreferenced_pid, signalling_.named_by_pmt(pid), "a PMT");
        check(indicator::unreferenced_pid_2, signalling_.named_by_pmt_or_cat(pid), "a PMT or the CAT");
    }
}

std::optional<std::uint64_t> stream_analyser::inaccurate_pcrs() const {
    // Every PID's PCR pairs must agree on a constant rate; the estimate has no events.
    std::uint64_t count = 0;
    bool measured = false;
    for (const pid_state& s : pids_.all()) {
        if (!s.accuracy.seen()) continue;
        if (!s.accuracy.constant_rate()) return std::nullopt;
        measured = true;
        count += s.accuracy.inaccurate();
    }
    if (!measured) return std::nullopt;
    return count;
}

analysis_report stream_analyser::finish(const scan_totals& totals) {
    if (window_.held > 0) release();
    analysis_report report;
    report.packets = packets_;
    report.base = clock_.base();
    report.skipped_bytes = totals.skipped_bytes;
    report.truncated_bytes = totals.truncated_bytes;
    const std::optional<std::int64_t> duration = complete() ? cut_ticks_ : clock_.end_ticks();
    if (packets_ > 0) {
        // A loss of sync that the capture ended in, before a new sync.
        for (std::uint64_t i = sync_regains_; i < totals.sync_losses; ++i)
            events_.raise(
                indicator::ts_sync_loss, last_, [] { return std::string("sync lost before the end"); },
                false);
        signalling_.finish(last_, pid_packets_, events_);
        if (duration) finish_unreferenced();
        if (first_scrambled_ && !signalling_.cat_seen())
            events_.raise(indicator::cat_error, *first_scrambled_,
                          [] { return std::string("scrambled packets but no CAT"); });
    }
    if (duration && *duration > 0) {
        report.duration_s = seconds(*duration);
        report.bitrate_bps = static_cast<double>(packets_) * bits_per_packet / *report.duration_s;
    }
    for (std::uint16_t pid = 0; pid < ts::pid_count; ++pid)
        if (pid_packets_[pid] > 0)
            report.pids.push_back(summary(pid, report.duration_s ? duration : std::nullopt));
    const bool timed = report.duration_s.has_value();
    for (std::size_t i = 0; i < indicator_count; ++i) {
        const auto which = static_cast<indicator>(i);
        const indicator_info& about = info(which);
        indicator_report r{which, events_.count(which)};
        if (about.needs_time && !timed) r.count.reset();
        if (which == indicator::pcr_accuracy_error) r.count = inaccurate_pcrs();
        report.indicators.push_back(r);
    }
    report.errors = events_.take_events();
    if (timed) fill_bins(report, *duration);
    return report;
}

pid_report stream_analyser::summary(std::uint16_t pid, std::optional<std::int64_t> duration) const {
    const pid_state& s = pids_[pid];
    pid_report r;
    r.pid = pid;
    const char* kind = fixed_kind(pid);
    if (!kind && signalling_.is_pmt_pid(pid)) kind = "PMT";
    if (!kind) kind = stream_kind_name(signalling_.kind(pid));
    if (!kind && signalling_.is_ecm_pid(pid)) kind = "ECM";
    if (!kind && signalling_.is_emm_pid(pid)) kind = "EMM";
    if (!kind && signalling_.is_pcr_pid(pid)) kind = "PCR";
    r.kind = kind ? kind : "unreferenced";
    r.service_ids = signalling_.services(pid);
    std::sort(r.service_ids.begin(), r.service_ids.end());
    r.packets = pid_packets_[pid];
    r.scrambled = s.scrambled;
    r.cc_errors = s.cc_errors;
    r.lost_packets = s.lost_packets;
    r.pcr_count = s.pcr_count;
    if (s.pcr_gaps > 0)
        r.pcr_interval_ms =
            min_mean_max{milliseconds(s.pcr_gap_min),
                         milliseconds(s.last_pcr_ticks - s.first_pcr_ticks) / static_cast<double>(s.pcr_gaps),
                         milliseconds(s.pcr_gap_max)};
    if (duration) {
        const double mean = static_cast<double>(r.packets) * bits_per_packet / seconds(*duration);
        r.bitrate_bps = min_mean_max{mean, mean, mean};
        // Only whole bins count for the extremes: the last one is usually cut short.
        const auto whole = static_cast<std::size_t>(*duration / bins_.interval_ticks());
        const auto& counts = bins_.of(pid);
        if (whole > 0) {
            std::uint32_t low = UINT32_MAX, high = 0;
            for (std::size_t i = 0; i < whole; ++i) {
                const std::uint32_t n = i < counts.size() ? counts[i] : 0;
                low = std::min(low, n);
                high = std::max(high, n);
            }
            const double per_packet = bits_per_packet / seconds(bins_.interval_ticks());
            r.bitrate_bps->min = low * per_packet;
            r.bitrate_bps->max = high * per_packet;
        }
    }
    return r;
}

void stream_analyser::fill_bins(analysis_report& report, std::int64_t duration) const {
    const std::int64_t interval = bins_.interval_ticks();
    report.bin_interval_ms = static_cast<std::uint32_t>(interval / ms_ticks(1));
    const std::size_t count = bins_.bins();
    for (const pid_report& p : report.pids)
        report.bin_pids.push_back(p.pid);
    for (std::size_t b = 0; b < count; ++b) {
        // The last bin is as long as the capture leaves it.
        const std::int64_t start = static_cast<std::int64_t>(b) * interval;
        const std::int64_t length =
            b + 1 == count && duration > start ? std::min(interval, duration - start) : interval;
        std::vector<double> rates;
        rates.reserve(report.bin_pids.size());
        for (std::uint16_t pid : report.bin_pids) {
            const auto& counts = bins_.of(pid);
            const std::uint32_t n = b < counts.size() ? counts[b] : 0;
            rates.push_back(n * bits_per_packet / seconds(length));
        }
        report.bin_rates.push_back(std::move(rates));
    }
}

}  // namespace kestrel::analysis
