// A scan of the current transponder on a capture card against a plain read of the same
// capture: every collection whose table is missing plays the capture once, so none should
// cost more than about one plain read.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "device/capture/capture_card.h"
#include "device/dvb_device_techotrend.h"
#include "scan/si_reader.h"
#include "settings/memory_store.h"
#include "ts/bench/looped_capture.h"
#include "ts/capture_file.h"

namespace {

using namespace kestrel;
using clock_type = std::chrono::steady_clock;

const char* const capture_name = "test-103.ts";

// The capture looped to 256 MiB in the build folder; empty when the capture is not there.
std::string looped_capture() {
    return ts::bench::looped_capture(capture_name, KESTREL_BUILD_DIR);
}

double plain_read_seconds(const std::string& path) {
    std::vector<char> buffer(ts::capture_file::block_size);
    const auto start = clock_type::now();
    benchmark::DoNotOptimize(ts::bench::read_plainly(path, buffer));
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

// The end of every collection, timed.
class timed_progress final : public scan_progress {
  public:
    void show_stream(const stream_texts&) override {}
    void add_row(int, std::string_view, int) override {}
    void add_bytes(int, std::int32_t) override {}
    void clear_rows() override { ends.push_back(clock_type::now()); }
    void message(std::string_view) override {}
    void done(int) override {}

    std::vector<clock_type::time_point> ends;
};

void BM_PlainRead(benchmark::State& state) {
    const std::string path = looped_capture();
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    for (auto _ : state)
        state.SetIterationTime(plain_read_seconds(path));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
}

// Counters: the number of collections, each collection (c1, c2, ...), the slowest one and
// the whole scan in plain reads of the capture.
void BM_ScanCurrentTransponder(benchmark::State& state) {
    const std::string path = looped_capture();
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    double whole = 0, plain = 0;
    std::vector<double> in_reads;
    for (auto _ : state) {
        plain = plain_read_seconds(path);
        std::string error;
        dvb_device_techotrend device(capture_card::create({path, false, 0}, error));
        if (!error.empty() || device.init() != result::ok) return state.SkipWithError(error.c_str());
        memory_store settings;
        CSatelliteList satellites;
        const table_selection tables(settings);
        timed_progress progress;
        si_reader reader(device, settings, satellites, tables, progress);
        AllNetworks networks;
        const auto start = clock_type::now();
        reader.run(networks, ScanContext::current_transponder);
        const double seconds = std::chrono::duration<double>(clock_type::now() - start).count();
        state.SetIterationTime(seconds);
        in_reads.clear();
        auto previous = start;
        for (const auto end : progress.ends) {
            in_reads.push_back(std::chrono::duration<double>(end - previous).count() / plain);
            previous = end;
        }
        whole = seconds / plain;
        if (networks.empty()) return state.SkipWithError("nothing scanned");
    }
    state.counters["collections"] = static_cast<double>(in_reads.size());
    for (std::size_t i = 0; i < in_reads.size(); ++i)
        state.counters["c" + std::to_string(i + 1)] = in_reads[i];
    state.counters["slowest_in_reads"] = *std::max_element(in_reads.begin(), in_reads.end());
    state.counters["scan_in_reads"] = whole;
    state.counters["plain_read_s"] = plain;
}

BENCHMARK(BM_PlainRead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ScanCurrentTransponder)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
