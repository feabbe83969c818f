#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "analysis/report.h"
#include "analysis/stream_analyser.h"
#include "ts/packet_format.h"

namespace kestrel::analysis {

struct capture_analysis {
    analysis_report report;
    std::string error;     // the file could not be opened or read to its end
    bool stopped = false;  // `stop` ended the reading early; the report covers what was read
};

// Analyses a capture file (188-, 192- or 204-byte units; 192-byte units are timed by their
// arrival stamps unless a rate is given) in one pass. `stop` is polled once per block;
// `progress` is called after each block with the bytes read so far and the file's size.
capture_analysis analyse_capture(
    const std::string& path, const analysis_options& options, const std::atomic<bool>& stop,
    const std::function<void(std::uint64_t read, std::uint64_t size)>& progress = {});

// Analyses capture bytes held in memory, laid out in `format`.
analysis_report analyse_bytes(std::span<const std::uint8_t> bytes, ts::packet_format format,
                              analysis_options options);

}  // namespace kestrel::analysis
