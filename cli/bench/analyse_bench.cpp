// `kestrel-cli analyse` on real captures looped to 256 and 512 MiB, against `sections` on the
// same file in the same run: counter "in_sections" is the analysis's time (analyse_capture,
// without the printing) over read_capture_sections's, "peak_heap_kib" the most heap the
// analysis held, which must not grow with the file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>

#include "analysis/capture_analysis.h"
#include "cli/bench/counting_heap.h"
#include "cli/capture_sections.h"
#include "ts/bench/looped_capture.h"

namespace {

using namespace kestrel;

template <class F>
double seconds(F&& run) {
    const auto start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_Analyse(benchmark::State& state, const char* name, std::uintmax_t size) {
    const std::string path = ts::bench::looped_capture(name, KESTREL_BUILD_DIR, size);
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    const std::atomic<bool> stop{false};
    double sections = 0, analysis = 0;
    std::size_t peak = 0;
    for (auto _ : state) {
        sections += seconds([&] { benchmark::DoNotOptimize(cli::read_capture_sections(path, {})); });
        bench::reset_heap_peak();
        analysis::capture_analysis result;
        const double t = seconds([&] { result = analysis::analyse_capture(path, {}, stop); });
        peak = std::max(peak, bench::heap_peak_since_reset());
        if (!result.error.empty()) return state.SkipWithError(result.error.c_str());
        state.SetIterationTime(t);
        analysis += t;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["in_sections"] = analysis / sections;
    state.counters["peak_heap_kib"] = static_cast<double>(peak) / 1024;
}

constexpr std::uintmax_t mib = std::uintmax_t{1} << 20;

BENCHMARK_CAPTURE(BM_Analyse, signalling_dense_256MiB, "test-030.ts", 256 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Analyse, ordinary_mux_256MiB, "test-025.ts", 256 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(BM_Analyse, ordinary_mux_512MiB, "test-025.ts", 512 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
