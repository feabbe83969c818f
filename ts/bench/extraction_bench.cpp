#include <benchmark/benchmark.h>
#include <filesystem>
#include <initializer_list>
#include <vector>

#include "ts/bench/looped_capture.h"
#include "ts/capture_file.h"
#include "ts/section_extractor.h"

namespace {

using namespace kestrel::ts;

std::string looped(const std::string& name) {
    return kestrel::ts::bench::looped_capture(name, KESTREL_BUILD_DIR);
}

// Reads the file front to back in the extractor's block size, looking at nothing.
void BM_PlainRead(benchmark::State& state, const char* name) {
    const std::string path = looped(name);
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    std::vector<char> buffer(capture_file::block_size);
    std::uint64_t total = 0;
    for (auto _ : state) {
        total += kestrel::ts::bench::read_plainly(path, buffer);
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(total));
}

// What kestrel-cli sections does by default: PIDs 0x00-0x1F and the PMT PIDs of the PAT.
void BM_ExtractSections(benchmark::State& state, const char* name,
                        std::initializer_list<std::uint16_t> pmt_pids) {
    const std::string path = looped(name);
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    std::uint64_t sections = 0;
    for (auto _ : state) {
        section_extractor extractor;
        for (std::uint16_t pid = 0; pid < 0x20; ++pid)
            extractor.select_pid(pid);
        for (std::uint16_t pid : pmt_pids)
            extractor.select_pid(pid);
        const std::string error =
            extract_sections(path, extractor, [&](std::uint16_t, std::span<const std::uint8_t> s) {
                sections += 1;
                benchmark::DoNotOptimize(s.data());
            });
        if (!error.empty()) return state.SkipWithError(error.c_str());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * std::filesystem::file_size(path)));
    state.counters["sections"] =
        benchmark::Counter(static_cast<double>(sections), benchmark::Counter::kAvgIterations);
}

// An ordinary multiplex with little signalling, and one made almost only of signalling.
BENCHMARK_CAPTURE(BM_PlainRead, ordinary_mux, "test-103.ts")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExtractSections, ordinary_mux, "test-103.ts", {0x20, 0x40})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainRead, signalling_dense, "test-030.ts")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExtractSections, signalling_dense, "test-030.ts",
                  {0x64, 0xC8, 0x12C, 0x190, 0x1F4, 0x258, 0x2BC, 0x320, 0x384, 0x3E8, 0x1003})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
