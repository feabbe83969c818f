#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "analysis/indicators.h"

namespace kestrel::analysis {

// What an analysis found: plain values, read by the text, JSON and CSV writers alike.
// Times and rates are null where the stream gave no time base.

struct min_mean_max {
    double min = 0;
    double mean = 0;
    double max = 0;
};

struct pid_report {
    std::uint16_t pid = 0;
    std::string kind;  // "PAT", "PMT", "video", ..., "null", "unreferenced"
    std::vector<std::uint16_t> service_ids;
    std::uint64_t packets = 0;
    std::uint64_t scrambled = 0;
    std::uint64_t cc_errors = 0;
    std::uint64_t lost_packets = 0;
    std::uint64_t pcr_count = 0;
    std::optional<min_mean_max> pcr_interval_ms;
    std::optional<min_mean_max> bitrate_bps;  // min and max over whole bins
};

struct indicator_report {
    indicator which{};
    std::optional<std::uint64_t> count;  // null: not measured (no time base)
};

struct error_event {
    indicator which{};
    std::uint64_t packet = 0;      // from 0, in the whole capture
    std::uint64_t pid_packet = 0;  // from 0, among the packets of `pid`
    std::optional<double> time_s;  // from the first packet
    std::uint16_t pid = 0;
    std::string detail;
};

enum class time_base { none, pcr, arrival, given };
const char* time_base_name(time_base base);

struct analysis_report {
    std::uint64_t packets = 0;
    std::optional<double> duration_s;
    std::optional<double> bitrate_bps;
    time_base base = time_base::none;
    std::vector<pid_report> pids;              // by PID
    std::vector<indicator_report> indicators;  // in the standard's order
    std::vector<error_event> errors;           // the kept ones, in stream order
    std::uint32_t bin_interval_ms = 0;
    std::vector<std::uint16_t> bin_pids;         // the PIDs of bin_rates, by PID
    std::vector<std::vector<double>> bin_rates;  // per bin, one bit rate per PID of bin_pids
    // Whole-capture facts the scanner gave.
    std::uint64_t skipped_bytes = 0;
    std::uint64_t truncated_bytes = 0;

    // True when a measured priority 1 or 2 indicator (estimates aside) was raised.
    bool failed() const;
};

}  // namespace kestrel::analysis
