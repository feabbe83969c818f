#pragma once

#include <ostream>

#include "analysis/report.h"

namespace kestrel::analysis {

// The report as people read it: the verdict, the PID table with rates, the indicator counts
// and the first `errors_per_indicator` errors of each indicator.
void write_text(std::ostream& out, const analysis_report& report, std::size_t errors_per_indicator = 5);

// The report as one JSON document (PIDs as decimal numbers; the bins' PIDs as decimal keys).
void write_json(std::ostream& out, const analysis_report& report);

// The bins as CSV: "time_s,<pid>,..." and then one row per bin, bit rates in bit/s.
void write_bins_csv(std::ostream& out, const analysis_report& report);

}  // namespace kestrel::analysis
