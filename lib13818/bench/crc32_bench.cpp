#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "lib13818/core/crc32.h"

namespace lib13818 {
namespace {

using method = std::uint32_t (*)(const std::uint8_t*, std::size_t, std::uint32_t);

// CRC throughput over one buffer of state.range(0) bytes (184: a packet payload).
void crc_throughput(benchmark::State& state, method crc) {
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(state.range(0)));
    std::mt19937 random(1);
    for (auto& b : buffer)
        b = static_cast<std::uint8_t>(random());
    for (auto _ : state)
        benchmark::DoNotOptimize(crc(buffer.data(), buffer.size(), crc32_preset));
    const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(buffer.size());
    state.counters["GB/s"] = benchmark::Counter(bytes / 1e9, benchmark::Counter::kIsRate);
}

void bytewise(benchmark::State& state) {
    crc_throughput(state, crc32_bytewise);
}
void slice8(benchmark::State& state) {
    crc_throughput(state, crc32_slice8);
}
void fold(benchmark::State& state) {
    if (!crc32_fold_available()) return state.SkipWithError("no PCLMULQDQ on this processor");
    crc_throughput(state, crc32_fold);
}

BENCHMARK(bytewise)->Name("crc32/bytewise")->Arg(184)->Arg(1024)->Arg(4096);
BENCHMARK(slice8)->Name("crc32/slice8")->Arg(184)->Arg(1024)->Arg(4096);
BENCHMARK(fold)->Name("crc32/fold")->Arg(184)->Arg(1024)->Arg(4096);

}  // namespace
}  // namespace lib13818
