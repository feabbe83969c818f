#include <benchmark/benchmark.h>

#include <filesystem>
#include <vector>

#include "device/capture/capture_card.h"
#include "device/dvb_device_techotrend.h"
#include "streaming/recording.h"
#include "ts/bench/looped_capture.h"
#include "ts/capture_file.h"

namespace {

using namespace kestrel;

const std::filesystem::path folder = KESTREL_BENCH_DIR;

std::string looped() {
    return ts::bench::looped_capture("test-103.ts", folder);
}

// The yardstick: the looped capture read front to back, nothing looked at.
void BM_PlainRead(benchmark::State& state) {
    const std::string path = looped();
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    std::vector<char> buffer(ts::capture_file::block_size);
    std::uint64_t total = 0;
    for (auto _ : state) {
        total += ts::bench::read_plainly(path, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

// Four PIDs of one pass of the looped capture into four files, on a fresh capture card.
void BM_RecordFourPids(benchmark::State& state) {
    const std::string path = looped();
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    const std::vector<int> pids{0x00, 0x10, 0x11, 0x20};
    const std::string base = (folder / "kestrel-bench-rec.ts").string();
    std::uint64_t recorded = 0;
    for (auto _ : state) {
        std::string error;
        dvb_device_techotrend device(capture_card::create({path}, error));
        if (!error.empty() || device.init() != result::ok) return state.SkipWithError("no capture card");
        streaming::multi_pid_recording recording(device, base, pids);
        recording.start();
        recording.join();
        recorded += recording.bytes_read();
    }
    for (const int pid : pids)
        std::filesystem::remove(streaming::output_name(base, pid));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["recorded"] =
        benchmark::Counter(static_cast<double>(recorded), benchmark::Counter::kAvgIterations);
}

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->UseRealTime();
// The recording runs on its worker: real time is what counts.
BENCHMARK(BM_RecordFourPids)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
