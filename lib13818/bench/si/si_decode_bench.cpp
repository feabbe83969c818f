// Decoding speed of real SI sections: the NIT, SDT, EIT and TOT sections of two broadcast
// captures, each parsed completely into a fresh table, over and over.

#include <benchmark/benchmark.h>

#include <vector>

#include "lib13818/core/crc32.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tables/tot.h"
#include "lib13818/tests/capture_sections.h"

namespace lib13818 {
namespace {

using Section = std::vector<std::uint8_t>;

struct CapturedSi {
    std::vector<Section> nit, sdt, eit, tot;
};

// The intact SI sections of the captures, read once.
const CapturedSi& captured() {
    static const CapturedSi si = [] {
        CapturedSi all;
        for (const char* name : {"test-103.ts", "test-030.ts"}) {
            const std::string path = KESTREL_SHARED_DIR "/captures/" + std::string(name);
            for (CapturedSection& s : capture_sections(path, {0x10, 0x11, 0x12, 0x14})) {
                const std::uint8_t id = s.bytes[0];
                if (id == 0x73) all.tot.push_back(std::move(s.bytes));
                if (crc32(s.bytes.data(), s.bytes.size()) != 0) continue;
                if (id == 0x40 || id == 0x41) all.nit.push_back(std::move(s.bytes));
                if (id == 0x42 || id == 0x46) all.sdt.push_back(std::move(s.bytes));
                if (id >= 0x4E && id <= 0x6F) all.eit.push_back(std::move(s.bytes));
            }
        }
        return all;
    }();
    return si;
}

template <class Table>
void decode(benchmark::State& state, const std::vector<Section>& sections) {
    if (sections.empty()) {
        state.SkipWithError("no such sections in " KESTREL_SHARED_DIR "/captures");
        return;
    }
    std::size_t bytes = 0;
    for (const Section& s : sections) bytes += s.size();
    for (auto _ : state) {
        for (const Section& s : sections) {
            Table table;
            table.parse(s.data(), s.size());
            benchmark::DoNotOptimize(table);
        }
    }
    const auto passes = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
    state.counters["sections/s"] =
        benchmark::Counter(passes * static_cast<double>(sections.size()), benchmark::Counter::kIsRate);
    state.counters["sections"] = static_cast<double>(sections.size());
}

void decode_nit(benchmark::State& state) { decode<Nit>(state, captured().nit); }
void decode_sdt(benchmark::State& state) { decode<Sdt>(state, captured().sdt); }
void decode_eit(benchmark::State& state) { decode<Eit>(state, captured().eit); }
void decode_tot(benchmark::State& state) { decode<Tot>(state, captured().tot); }

BENCHMARK(decode_nit);
BENCHMARK(decode_sdt);
BENCHMARK(decode_eit);
BENCHMARK(decode_tot);

}  // namespace
}  // namespace lib13818

BENCHMARK_MAIN();
