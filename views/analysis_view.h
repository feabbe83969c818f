#pragma once

// What the analysis window shows of a stream analysis, toolkit-free: the summary line, the
// PID table, the error list with its filter, and the stacked bit rate plot. The window only
// renders these values.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/report.h"
#include "device/card.h"

namespace kestrel::views {

// The verdict, the packets, duration, rate and time base; a card's delivery faults after.
std::string analysis_summary(const analysis::analysis_report& report,
                             const std::optional<delivery_faults>& faults);

// A table cell as shown, and the number it sorts by where it stands for one.
struct table_cell {
    std::string text;
    std::optional<double> number;
};
struct table_rows {
    std::vector<std::string> headers;
    std::vector<std::vector<table_cell>> rows;
};

// One row per PID: PID, kind, services, packets, scrambled, continuity errors, lost packets,
// PCRs, PCR interval and the bit rate (mean, minimum, maximum).
table_rows pid_table(const analysis::analysis_report& report);

// The kept errors of one indicator ("1.4", or "" for all) and one PID (or all).
struct error_filter {
    std::string indicator;
    std::optional<std::uint16_t> pid;
};
table_rows error_table(const analysis::analysis_report& report, const error_filter& filter);
// The choices of the filter: the indicators ("1.4 Continuity_count_error") and the PIDs the
// kept errors name, each once, in report order and by PID.
std::vector<std::string> error_indicators(const analysis::analysis_report& report);
std::vector<std::uint16_t> error_pids(const analysis::analysis_report& report);

// The bit rate per time bin, stacked: the busiest PIDs (by their bits over the whole
// stream) from the bottom up, then "other" for the rest. Each series is a pair of lines,
// its lower edge the upper edge of the one below. Long runs of bins are averaged down to at
// most `max_points` points, so hours of bins stay quick to draw.
struct plot_series {
    std::string name;  // "0x0100 video", or "other"
    std::vector<double> lower_bps;
    std::vector<double> upper_bps;
};
struct bitrate_plot {
    std::vector<double> time_s;  // of each point: the start of its bins
    std::vector<plot_series> series;
    double top_bps = 0;  // the highest upper edge
};
inline constexpr std::size_t plotted_pids = 10;
inline constexpr std::size_t plot_points = 2000;
bitrate_plot stacked_bitrates(const analysis::analysis_report& report, std::size_t busiest = plotted_pids,
                              std::size_t max_points = plot_points);

}  // namespace kestrel::views
