#include <benchmark/benchmark.h>

#include <vector>

#include "lib13818/core/crc32.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"

namespace lib13818 {
namespace {

// The section with its section_length fitted and its CRC_32 appended.
std::vector<std::uint8_t> with_crc(std::vector<std::uint8_t> s) {
    const std::size_t length = s.size() + 4 - 3;
    s[1] = static_cast<std::uint8_t>((s[1] & 0xF0) | (length >> 8));
    s[2] = static_cast<std::uint8_t>(length);
    const std::uint32_t crc = crc32_bytewise(s.data(), s.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<std::uint8_t>(crc >> shift));
    return s;
}

// clang-format off
// A PAT of a typical multiplex: the network PID and eight programs.
const std::vector<std::uint8_t> pat = with_crc({
    0x00, 0xB0, 0x00, 0x04, 0x01, 0xC3, 0x00, 0x00,  // header
    0x00, 0x00, 0xE0, 0x10, 0x00, 0x01, 0xE1, 0x00, 0x00, 0x02, 0xE1, 0x01,
    0x00, 0x03, 0xE1, 0x02, 0x00, 0x04, 0xE1, 0x03, 0x00, 0x05, 0xE1, 0x04,
    0x00, 0x06, 0xE1, 0x05, 0x00, 0x07, 0xE1, 0x06, 0x00, 0x08, 0xE1, 0x07,
});

// A scrambled TV programme: a CA descriptor, then video, two audio streams with language
// and stream identifier descriptors, and teletext.
const std::vector<std::uint8_t> pmt = with_crc({
    0x02, 0xB0, 0x00, 0x00, 0x01, 0xC3, 0x00, 0x00,  // header
    0xE1, 0x00, 0xF0, 0x06,                          // PCR PID 0x100, program_info_length 6
    0x09, 0x04, 0x06, 0x22, 0xE5, 0x00,              // CA: Irdeto, ECM PID 0x500
    0x02, 0xE1, 0x00, 0xF0, 0x08,                    // MPEG-2 video on 0x100
    0x52, 0x01, 0x01, 0x02, 0x03, 0x18, 0x48, 0x5F,
    0x04, 0xE1, 0x01, 0xF0, 0x09,                    // audio on 0x101
    0x0A, 0x04, 'd', 'e', 'u', 0x00, 0x52, 0x01, 0x02,
    0x04, 0xE1, 0x02, 0xF0, 0x09,                    // audio on 0x102
    0x0A, 0x04, 'e', 'n', 'g', 0x00, 0x52, 0x01, 0x03,
    0x06, 0xE1, 0x03, 0xF0, 0x15,                    // teletext on 0x103
    0x56, 0x0A, 'd', 'e', 'u', 0x09, 0x00, 'd', 'e', 'u', 0x11, 0x50,
    0x52, 0x01, 0x04, 0x09, 0x04, 0x06, 0x22, 0xE5, 0x01,
});
// clang-format on

template <class Table>
void decode(benchmark::State& state, const std::vector<std::uint8_t>& section) {
    for (auto _ : state) {
        Table table;
        table.parse(section.data(), section.size());
        benchmark::DoNotOptimize(table);
    }
    state.counters["sections/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void decode_pat(benchmark::State& state) {
    decode<Pat>(state, pat);
}
void decode_pmt(benchmark::State& state) {
    decode<Pmt>(state, pmt);
}

BENCHMARK(decode_pat)->Name("decode/pat");
BENCHMARK(decode_pmt)->Name("decode/pmt");

}  // namespace
}  // namespace lib13818

BENCHMARK_MAIN();
