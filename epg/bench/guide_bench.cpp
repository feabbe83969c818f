#include <benchmark/benchmark.h>

#include <sstream>

#include "epg/guide_builder.h"
#include "epg/testing/synthetic_guide.h"
#include "epg/xmltv_writer.h"

namespace kestrel::epg {
namespace {

constexpr int services = 100, events_per_service = 200;  // 20,000 events

void fill(section_store& store) {
    for (const auto& section : testing::synthetic_guide(services, events_per_service))
        store.feed(section);
}

// The guide built from the collected sections: every section parsed, every event decoded.
void BM_BuildGuide20000Events(benchmark::State& state) {
    section_store store;
    fill(store);
    std::size_t events = 0;
    for (auto _ : state) {
        const guide g = build_guide(store, {});
        events = 0;
        for (const auto& s : g.services)
            events += s.events.size();
        benchmark::DoNotOptimize(events);
    }
    state.counters["events"] = static_cast<double>(events);
}
BENCHMARK(BM_BuildGuide20000Events)->Unit(benchmark::kMillisecond);

// The guide written as XMLTV into memory.
void BM_WriteXmltv20000Events(benchmark::State& state) {
    section_store store;
    fill(store);
    const guide g = build_guide(store, {});
    std::size_t programmes = 0;
    for (auto _ : state) {
        std::ostringstream out;
        programmes = write_xmltv(out, g, "kestrel/bench");
        benchmark::DoNotOptimize(out.str().size());
    }
    state.counters["programmes"] = static_cast<double>(programmes);
}
BENCHMARK(BM_WriteXmltv20000Events)->Unit(benchmark::kMillisecond);

// The collector fed every section of the guide once.
void BM_CollectSections20000Events(benchmark::State& state) {
    const auto sections = testing::synthetic_guide(services, events_per_service);
    for (auto _ : state) {
        section_store store;
        for (const auto& section : sections)
            store.feed(section);
        benchmark::DoNotOptimize(store.complete());
    }
}
BENCHMARK(BM_CollectSections20000Events)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel::epg

BENCHMARK_MAIN();
