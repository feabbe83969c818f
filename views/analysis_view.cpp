#include "views/analysis_view.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <sstream>

#include "analysis/report_writers.h"

namespace kestrel::views {

namespace {

std::string printed(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string pid_text(std::uint16_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(pid));
    return text;
}

table_cell count_cell(std::uint64_t n) {
    return {std::to_string(n), static_cast<double>(n)};
}

table_cell optional_cell(const std::optional<double>& value, const char* pattern, double scale) {
    if (!value) return {"-", std::nullopt};
    return {printed(pattern, *value / scale), *value};
}

std::string indicator_label(analysis::indicator which) {
    const analysis::indicator_info& i = analysis::info(which);
    return std::string(i.id) + " " + std::string(i.name);
}

const analysis::pid_report* find_pid(const analysis::analysis_report& report, std::uint16_t pid) {
    const auto it = std::find_if(report.pids.begin(), report.pids.end(),
                                 [&](const analysis::pid_report& p) { return p.pid == pid; });
    return it == report.pids.end() ? nullptr : &*it;
}

}  // namespace

std::string analysis_summary(const analysis::analysis_report& report,
                             const std::optional<delivery_faults>& faults) {
    // The text report's first two lines: its totals and its verdict.
    std::ostringstream text;
    analysis::write_text(text, report, 0);
    std::istringstream lines(text.str());
    std::string totals, verdict;
    std::getline(lines, totals);
    std::getline(lines, verdict);
    std::string summary = verdict + " | " + totals;
    if (faults)
        summary += " | card: " + std::to_string(faults->overflows) + " demux buffer overruns, " +
                   std::to_string(faults->lock_losses) + " lock losses";
    return summary;
}

table_rows pid_table(const analysis::analysis_report& report) {
    table_rows table{{"PID", "Kind", "Services", "Packets", "Scrambled", "CC errors", "Lost", "PCRs",
                      "PCR interval (ms)", "Mbit/s", "Min Mbit/s", "Max Mbit/s"},
                     {}};
    for (const analysis::pid_report& p : report.pids) {
        std::string services;
        for (const std::uint16_t s : p.service_ids)
            services += (services.empty() ? "" : ", ") + std::to_string(s);
        const auto& interval = p.pcr_interval_ms;
        const auto& rate = p.bitrate_bps;
        table.rows.push_back({
            {pid_text(p.pid), p.pid},
            {p.kind, std::nullopt},
            {services, std::nullopt},
            count_cell(p.packets),
            count_cell(p.scrambled),
            count_cell(p.cc_errors),
            count_cell(p.lost_packets),
            count_cell(p.pcr_count),
            interval ? table_cell{printed("%.1f", interval->min) + " / " + printed("%.1f", interval->mean) +
                                      " / " + printed("%.1f", interval->max),
                                  interval->mean}
                     : table_cell{"-", std::nullopt},
            optional_cell(rate ? std::optional(rate->mean) : std::nullopt, "%.3f", 1e6),
            optional_cell(rate ? std::optional(rate->min) : std::nullopt, "%.3f", 1e6),
            optional_cell(rate ? std::optional(rate->max) : std::nullopt, "%.3f", 1e6),
        });
    }
    return table;
}

table_rows error_table(const analysis::analysis_report& report, const error_filter& filter) {
    table_rows table{{"Indicator", "Packet", "PID packet", "Time (s)", "PID", "Detail"}, {}};
    for (const analysis::error_event& e : report.errors) {
        if (!filter.indicator.empty() && analysis::info(e.which).id != filter.indicator) continue;
        if (filter.pid && e.pid != *filter.pid) continue;
        table.rows.push_back({{indicator_label(e.which), std::nullopt},
                              count_cell(e.packet),
                              count_cell(e.pid_packet),
                              optional_cell(e.time_s, "%.3f", 1),
                              {pid_text(e.pid), e.pid},
                              {e.detail, std::nullopt}});
    }
    return table;
}

std::vector<std::string> error_indicators(const analysis::analysis_report& report) {
    std::vector<std::string> labels;
    for (const analysis::indicator_report& r : report.indicators) {
        const bool kept = std::any_of(report.errors.begin(), report.errors.end(),
                                      [&](const analysis::error_event& e) { return e.which == r.which; });
        if (kept) labels.push_back(indicator_label(r.which));
    }
    return labels;
}

std::vector<std::uint16_t> error_pids(const analysis::analysis_report& report) {
    std::vector<std::uint16_t> pids;
    for (const analysis::error_event& e : report.errors)
        pids.push_back(e.pid);
    std::sort(pids.begin(), pids.end());
    pids.erase(std::unique(pids.begin(), pids.end()), pids.end());
    return pids;
}

bitrate_plot stacked_bitrates(const analysis::analysis_report& report, std::size_t busiest,
                              std::size_t max_points) {
    bitrate_plot plot;
    const std::size_t bins = report.bin_rates.size();
    const std::size_t columns = report.bin_pids.size();
    if (bins == 0 || columns == 0 || max_points == 0) return plot;

    // The columns from the busiest down; those past `busiest` go together as "other".
    std::vector<double> totals(columns, 0.0);
    for (const auto& bin : report.bin_rates)
        for (std::size_t k = 0; k < columns && k < bin.size(); ++k)
            totals[k] += bin[k];
    std::vector<std::size_t> order(columns);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return totals[a] > totals[b]; });
    const std::size_t named = std::min(busiest, columns);
    const std::size_t series_count = named + (columns > named ? 1 : 0);
    std::vector<std::size_t> series_of(columns);
    for (std::size_t rank = 0; rank < columns; ++rank)
        series_of[order[rank]] = std::min(rank, named);
    for (std::size_t s = 0; s < named; ++s) {
        const std::uint16_t pid = report.bin_pids[order[s]];
        const analysis::pid_report* p = find_pid(report, pid);
        plot.series.push_back({pid_text(pid) + (p != nullptr ? " " + p->kind : std::string()), {}, {}});
    }
    if (series_count > named) plot.series.push_back({"other", {}, {}});

    // Runs of `step` bins averaged into one point.
    const std::size_t step = (bins + max_points - 1) / max_points;
    std::vector<double> point(series_count);
    for (std::size_t first = 0; first < bins; first += step) {
        const std::size_t last = std::min(bins, first + step);
        std::fill(point.begin(), point.end(), 0.0);
        for (std::size_t b = first; b < last; ++b)
            for (std::size_t k = 0; k < columns && k < report.bin_rates[b].size(); ++k)
                point[series_of[k]] += report.bin_rates[b][k];
        plot.time_s.push_back(static_cast<double>(first) * report.bin_interval_ms / 1000.0);
        double lower = 0;
        for (std::size_t s = 0; s < series_count; ++s) {
            const double upper = lower + point[s] / static_cast<double>(last - first);
            plot.series[s].lower_bps.push_back(lower);
            plot.series[s].upper_bps.push_back(upper);
            lower = upper;
        }
        plot.top_bps = std::max(plot.top_bps, lower);
    }
    return plot;
}

}  // namespace kestrel::views
