#include <benchmark/benchmark.h>

#include <string>

#include "lib13818/core/dvb_text.h"

namespace lib13818 {
namespace {

// An EPG-like text of state.range(0) bytes with an accented letter every few words.
std::string guide_text(std::size_t size, std::string_view accented) {
    std::string text;
    while (text.size() < size)
        text.append("Une s")
            .append(accented)
            .append("rie d'animation tr")
            .append(accented)
            .append("s dr\xF4le. ");
    text.resize(size);
    return text;
}

void decode_throughput(benchmark::State& state, const std::string& charset, std::string_view accented) {
    const DvbString text{guide_text(static_cast<std::size_t>(state.range(0)), accented), ""};
    dvb_text_decoder decoder(charset);
    for (auto _ : state)
        benchmark::DoNotOptimize(decoder.to_utf8(text));
    const double bytes = static_cast<double>(state.iterations()) * static_cast<double>(text.text.size());
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsRate);
}

void iso8859(benchmark::State& state) {
    decode_throughput(state, "ISO-8859-15", "\xE9");
}
void iso6937(benchmark::State& state) {
    decode_throughput(state, "",
                      "\xC2"
                      "e");
}

BENCHMARK(iso8859)->Name("dvb_text/iso8859-15")->Arg(64)->Arg(4096);
BENCHMARK(iso6937)->Name("dvb_text/iso6937")->Arg(64)->Arg(4096);

}  // namespace
}  // namespace lib13818
