#include "analysis/capture_analysis.h"

#include <memory>

#include "ts/capture_file.h"
#include "ts/packet_scanner.h"

namespace kestrel::analysis {

namespace {

scan_totals totals_of(const ts::packet_scanner& scanner) {
    return {scanner.sync_losses(), scanner.skipped_bytes(), scanner.truncated_bytes()};
}

std::size_t scan(ts::packet_scanner& scanner, std::span<const std::uint8_t> data, bool final,
                 stream_analyser& analyser) {
    return scanner.scan_runs(
        data.data(), data.size(), final,
        [&](const ts::packet_run& run) { analyser.push_run(run, scanner.format()); },
        [&](const ts::scanned_packet& p) { analyser.push(p); });
}

}  // namespace

capture_analysis analyse_capture(const std::string& path, const analysis_options& options,
                                 const std::atomic<bool>& stop,
                                 const std::function<void(std::uint64_t, std::uint64_t)>& progress) {
    capture_analysis result;
    ts::capture_file file;
    if (result.error = file.open(path); !result.error.empty()) return result;
    analysis_options timed = options;
    timed.stamped = file.format() == ts::format_192;
    const auto analyser = std::make_unique<stream_analyser>(timed);
    ts::packet_scanner scanner(file.format(), ts::sync_rule::hysteresis);
    std::uint64_t read = 0;
    std::size_t consumed = 0;
    while (true) {
        const ts::capture_file::block block = file.next(consumed);
        // Packets past the time limit are passed over: the block ends the reading.
        consumed = scan(scanner, block.data, block.last, *analyser);
        read += consumed;
        if (progress) progress(read, file.size());
        if (block.last || analyser->complete()) break;
        if (stop.load(std::memory_order_relaxed)) {
            result.stopped = true;
            break;
        }
    }
    result.error = file.error();
    result.report = analyser->finish(totals_of(scanner));
    return result;
}

analysis_report analyse_bytes(std::span<const std::uint8_t> bytes, ts::packet_format format,
                              analysis_options options) {
    options.stamped = format == ts::format_192;
    const auto analyser = std::make_unique<stream_analyser>(options);
    ts::packet_scanner scanner(format, ts::sync_rule::hysteresis);
    scan(scanner, bytes, true, *analyser);
    return analyser->finish(totals_of(scanner));
}

}  // namespace kestrel::analysis
