// The table tree and the value rows of a scan result with 10,000 EIT events.

#include <benchmark/benchmark.h>

#include "lib13818/tables/eit.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"
#include "views/table_tree.h"

namespace {

using namespace kestrel;

constexpr int services = 100;
constexpr int sections_per_service = 10;
constexpr int events_per_section = 10;

encode::bytes event_descriptors(int n) {
    encode::bytes d = encode::short_event_descriptor("eng", "Programme " + std::to_string(n),
                                                     "An invented programme of the benchmark network.");
    for (const auto& more : {encode::component_descriptor(0x01, 0x03, 1, "eng", "16:9 video"),
                             encode::component_descriptor(0x02, 0x03, 2, "eng", "stereo"),
                             encode::content_descriptor({{0x20, 0x00}})})
        d.insert(d.end(), more.begin(), more.end());
    return d;
}

AllNetworks ten_thousand_events() {
    Transponder tp;
    tp.FEC_text = "3/4";
    for (int s = 0; s < services; ++s)
        for (int section = 0; section < sections_per_service; ++section) {
            std::vector<encode::eit_event> events;
            for (int e = 0; e < events_per_section; ++e) {
                const int n = section * events_per_section + e;
                events.push_back({static_cast<std::uint16_t>(n),
                                  {2026, 3, 14, n / 60 % 24, n % 60, 0},
                                  45,
                                  1,
                                  false,
                                  event_descriptors(n)});
            }
            const auto bytes =
                encode::eit_section({0x50, static_cast<std::uint16_t>(s + 1), 0,
                                     static_cast<std::uint8_t>(section), sections_per_service - 1},
                                    {1, 0x2F00, 0, 0x50}, events);
            lib13818::Eit eit;
            eit.parse(bytes.data(), bytes.size());
            file_section(tp.eit_actual_schedule, std::move(eit));
        }
    AllNetworks networks;
    add_transponder(networks, 0x2F00, 1, tp, 0);
    return networks;
}

const AllNetworks& networks() {
    static const AllNetworks all = ten_thousand_events();
    return all;
}

std::size_t count_rows(views::table_tree& tree, const views::tree_node& node) {
    std::size_t n = tree.rows(node).size();
    for (const auto& child : node.children)
        n += count_rows(tree, *child);
    return n;
}

std::size_t count_nodes(const views::tree_node& node) {
    std::size_t n = 1;
    for (const auto& child : node.children)
        n += count_nodes(*child);
    return n;
}

void BM_BuildTree(benchmark::State& state) {
    std::size_t nodes = 0;
    for (auto _ : state) {
        views::table_tree tree(networks());
        nodes = count_nodes(tree.root());
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_BuildTree)->Unit(benchmark::kMillisecond);

void BM_RowsOfEveryNode(benchmark::State& state) {
    views::table_tree tree(networks());
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = count_rows(tree, tree.root());
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_RowsOfEveryNode)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
