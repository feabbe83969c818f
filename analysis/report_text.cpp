#include <array>
#include <cstdio>
#include <string>

#include "analysis/report_writers.h"

namespace kestrel::analysis {

namespace {

// printf into a string, for the table's fixed columns.
template <class... Args>
std::string format(const char* pattern, Args... args) {
    std::array<char, 256> text{};
    std::snprintf(text.data(), text.size(), pattern, args...);
    return text.data();
}

std::string kbits(const std::optional<min_mean_max>& rate) {
    if (!rate) return "-";
    return format("%.1f %.1f %.1f", rate->mean / 1000, rate->min / 1000, rate->max / 1000);
}

std::string pcr_intervals(const pid_report& p) {
    if (!p.pcr_interval_ms) return p.pcr_count > 0 ? std::to_string(p.pcr_count) : "-";
    const auto& i = *p.pcr_interval_ms;
    return format("%llu (%.1f %.1f %.1f ms)", static_cast<unsigned long long>(p.pcr_count), i.min, i.mean,
                  i.max);
}

std::string services(const pid_report& p) {
    std::string text;
    for (std::uint16_t s : p.service_ids) {
        if (!text.empty()) text += ',';
        text += std::to_string(s);
    }
    return text.empty() ? "-" : text;
}

void write_verdict(std::ostream& out, const analysis_report& report) {
    std::string raised[2];  // priority 1 and 2, then priority 3
    for (const auto& r : report.indicators) {
        const indicator_info& i = info(r.which);
        if (!r.count || *r.count == 0 || i.estimate) continue;
        std::string& list = raised[i.priority <= 2 ? 0 : 1];
        if (!list.empty()) list += ", ";
        list += std::string(i.id) + " (" + std::to_string(*r.count) + ")";
    }
    if (report.failed())
        out << "verdict: FAILED, raised: " << raised[0];
    else
        out << "verdict: OK, no priority 1 or 2 indicator raised";
    if (!raised[1].empty()) out << "; priority 3: " << raised[1];
    out << '\n';
}

}  // namespace

void write_text(std::ostream& out, const analysis_report& report, std::size_t errors_per_indicator) {
    out << report.packets << " packets";
    if (report.duration_s)
        out << format(", %.3f s, %.3f Mbit/s", *report.duration_s, *report.bitrate_bps / 1e6);
    out << " (time base: " << time_base_name(report.base) << ")\n";
    write_verdict(out, report);

    out << "\n  PID     kind          services   packets  scrambled  cc errors  lost  PCRs (min mean max)"
           "  kbit/s (mean min max)\n";
    for (const auto& p : report.pids)
        out << format("  0x%04x  %-12s  %-9s %9llu  %9llu  %9llu  %4llu  %s  %s\n", p.pid, p.kind.c_str(),
                      services(p).c_str(), static_cast<unsigned long long>(p.packets),
                      static_cast<unsigned long long>(p.scrambled),
                      static_cast<unsigned long long>(p.cc_errors),
                      static_cast<unsigned long long>(p.lost_packets), pcr_intervals(p).c_str(),
                      kbits(p.bitrate_bps).c_str());

    out << "\n  indicator                                  count\n";
    for (const auto& r : report.indicators) {
        const indicator_info& i = info(r.which);
        const std::string name = std::string(i.id) + " " + std::string(i.name);
        out << format("  %-40s  %s%s\n", name.c_str(),
                      r.count ? std::to_string(*r.count).c_str() : "not measured",
                      i.estimate && r.count ? " (estimate)" : "");
    }

    std::array<std::size_t, indicator_count> shown{};
    bool heading = false;
    for (const auto& e : report.errors) {
        if (shown[static_cast<std::size_t>(e.which)]++ >= errors_per_indicator) continue;
        if (!heading) out << "\n  first errors of each indicator\n";
        heading = true;
        const indicator_info& i = info(e.which);
        const std::string time = e.time_s ? format(" at %.3f s", *e.time_s) : std::string();
        out << format("  %s %s: packet %llu (PID 0x%04x packet %llu)%s: %s\n", std::string(i.id).c_str(),
                      std::string(i.name).c_str(), static_cast<unsigned long long>(e.packet), e.pid,
                      static_cast<unsigned long long>(e.pid_packet), time.c_str(), e.detail.c_str());
    }
}

void write_bins_csv(std::ostream& out, const analysis_report& report) {
    out << "time_s";
    for (std::uint16_t pid : report.bin_pids)
        out << ',' << pid;
    out << '\n';
    for (std::size_t b = 0; b < report.bin_rates.size(); ++b) {
        out << format("%.3f", static_cast<double>(b) * report.bin_interval_ms / 1000);
        for (double rate : report.bin_rates[b])
            out << format(",%.0f", rate);
        out << '\n';
    }
}

}  // namespace kestrel::analysis
