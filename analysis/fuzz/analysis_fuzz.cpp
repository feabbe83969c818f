// Arbitrary bytes as a capture for the stream analysis, under each layout and time base: the
// report must account for every packet and keep its events in stream order.
#include <cstdint>
#include <cstdlib>

#include "analysis/capture_analysis.h"

using namespace kestrel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const ts::packet_format formats[] = {ts::format_188, ts::format_192, ts::format_204};
    analysis::analysis_options options;
    options.limits.kept_errors = 16;
    options.limits.bin_interval_ms = 1 + data[0] % 7;
    if (data[0] & 0x80) options.bitrate_bps = 1'000'000;
    const analysis::analysis_report report =
        analysis::analyse_bytes({data + 1, size - 1}, formats[data[0] % 3], options);
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
