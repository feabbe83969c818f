// The table tree and the value rows of a scan result with 10,000 EIT events; the search over
// a tree of 15,000 events (over 100,000 nodes).

#include <benchmark/benchmark.h>

#include "lib13818/tables/eit.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"
#include "views/table_tree.h"
#include "views/tree_search.h"

namespace {

using namespace kestrel;

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

// 100 events per service.
AllNetworks events_network(int services) {
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
            with_bytes<lib13818::Eit> eit;
            eit.parse(bytes.data(), bytes.size());
            eit.keep(bytes);
            file_section(tp.eit_actual_schedule, std::move(eit));
        }
    AllNetworks networks;
    add_transponder(networks, 0x2F00, 1, tp, 0);
    return networks;
}

const AllNetworks& networks() {
    static const AllNetworks all = events_network(100);
    return all;
}

const AllNetworks& large_networks() {
    static const AllNetworks all = events_network(150);
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

// The first search of a tree reads every label and row once.
void BM_FirstSearch(benchmark::State& state) {
    views::table_tree tree(large_networks());
    std::size_t matches = 0;
    for (auto _ : state) {
        views::tree_search search(tree);
        matches = search.find("Programme 42").size();
        benchmark::DoNotOptimize(matches);
    }
    state.counters["nodes"] = static_cast<double>(count_nodes(tree.root()));
    state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK(BM_FirstSearch)->Unit(benchmark::kMillisecond);

// Each further query, as the user types: a text and a hexadecimal identifier.
void BM_NextSearch(benchmark::State& state, const char* query) {
    views::table_tree tree(large_networks());
    views::tree_search search(tree);
    search.find("x");
    std::size_t matches = 0;
    for (auto _ : state) {
        matches = search.find(query).size();
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
}
BENCHMARK_CAPTURE(BM_NextSearch, text, "programme 42")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NextSearch, hexadecimal, "0x64")->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
