// `kestrel-cli sections` on real captures looped to 256 MiB, against a plain read of the same
// file in the same run: counter "in_plain_reads" is the time of the command's own reading
// (read_capture_sections, without the printing) in plain reads, "peak_heap_kib" the most heap
// it held. The 32 MiB runs show that the heap does not grow with the file.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <vector>

#include "cli/bench/counting_heap.h"
#include "cli/capture_sections.h"
#include "ts/bench/looped_capture.h"
#include "ts/capture_file.h"

namespace {

using namespace kestrel;
using clock_type = std::chrono::steady_clock;

template <class F>
double seconds(F&& run) {
    const auto start = clock_type::now();
    run();
    return std::chrono::duration<double>(clock_type::now() - start).count();
}

void BM_Sections(benchmark::State& state, const char* name, std::uintmax_t size) {
    const std::string path = ts::bench::looped_capture(name, KESTREL_BUILD_DIR, size);
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    std::vector<char> buffer(ts::capture_file::block_size);
    double plain = 0, sections = 0;
    std::size_t peak = 0, distinct = 0;
    for (auto _ : state) {
        plain += seconds([&] { ts::bench::read_plainly(path, buffer); });
        bench::reset_heap_peak();
        cli::capture_sections result;
        const double t = seconds([&] { result = cli::read_capture_sections(path, {}); });
        peak = std::max(peak, bench::heap_peak_since_reset());
        if (!result.error.empty()) return state.SkipWithError(result.error.c_str());
        distinct = result.distinct.size();
        state.SetIterationTime(t);
        sections += t;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
    state.counters["in_plain_reads"] = sections / plain;
    state.counters["peak_heap_kib"] = static_cast<double>(peak) / 1024;
    state.counters["distinct"] = static_cast<double>(distinct);
}

constexpr std::uintmax_t mib = std::uintmax_t{1} << 20;

// Made almost only of signalling (EIT), and an ordinary multiplex of video and audio.
BENCHMARK_CAPTURE(BM_Sections, signalling_dense_256MiB, "test-030.ts", 256 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_Sections, ordinary_mux_256MiB, "test-025.ts", 256 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_Sections, signalling_dense_32MiB, "test-030.ts", 32 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_Sections, ordinary_mux_32MiB, "test-025.ts", 32 * mib)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
