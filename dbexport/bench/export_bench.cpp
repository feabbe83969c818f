#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>

#include "dbexport/database_export.h"
#include "dbexport/testing/synthetic_scan.h"

namespace kestrel::dbexport {
namespace {

// A large scan: 5 transport streams of 100 services, each with 4 ECMs (2,000 ECM rows),
// written to a file on the disk with its fsync and rename each time.
void BM_ExportLargeScan(benchmark::State& state) {
    const AllNetworks scan = testing::synthetic_scan(5, 100, 4);
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / ("kestrel-bench-" + std::to_string(::getpid()) + ".db");
    for (auto _ : state) {
        const std::string failure = export_database(file, scan);
        if (!failure.empty()) state.SkipWithError(failure.c_str());
    }
    std::filesystem::remove(file);
    state.counters["services"] = 500;
    state.counters["ecm_rows"] = 2000;
}
BENCHMARK(BM_ExportLargeScan)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kestrel::dbexport

BENCHMARK_MAIN();
