// Arbitrary bytes as a capture for the stream analysis, under each layout and time base: the
// report must account for every packet and keep its events in stream order, and the packets
// read in runs must give the report that reading them one by one (as the live card does) gives.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>

#include "analysis/capture_analysis.h"
#include "analysis/report_writers.h"
#include "analysis/stream_analyser.h"

namespace {

using namespace kestrel;

std::string one_by_one(std::span<const std::uint8_t> bytes, ts::packet_format format,
                       analysis::analysis_options options) {
    options.stamped = format == ts::format_192;
    const auto analyser = std::make_unique<analysis::stream_analyser>(options);
    ts::packet_scanner scanner(format, ts::sync_rule::hysteresis);
    scanner.scan(bytes.data(), bytes.size(), true, [&](const ts::scanned_packet& p) { analyser->push(p); });
    std::ostringstream json;
    analysis::write_json(
        json, analyser->finish({scanner.sync_losses(), scanner.skipped_bytes(), scanner.truncated_bytes()}));
    return json.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const ts::packet_format formats[] = {ts::format_188, ts::format_192, ts::format_204};
    analysis::analysis_options options;
    options.limits.kept_errors = 16;
    options.limits.bin_interval_ms = 1 + data[0] % 7;
    if (data[0] & 0x80) options.bitrate_bps = 1'000'000;
    const std::span<const std::uint8_t> bytes{data + 1, size - 1};
    const analysis::analysis_report report = analysis::analyse_bytes(bytes, formats[data[0] % 3], options);
    std::ostringstream json;
    analysis::write_json(json, report);
    if (json.str() != one_by_one(bytes, formats[data[0] % 3], options)) std::abort();
    std::uint64_t counted = 0;
    for (const auto& pid : report.pids)
        counted += pid.packets;
    if (counted > report.packets) std::abort();
    for (std::size_t i = 1; i < report.errors.size(); ++i)
        if (report.errors[i].packet < report.errors[i - 1].packet) std::abort();
    for (const auto& e : report.errors)
        if (e.packet >= report.packets || (e.time_s && (*e.time_s < 0 || *e.time_s > *report.duration_s)))
            std::abort();
    return 0;
}
