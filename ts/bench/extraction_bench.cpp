#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <vector>

#include "ts/capture_file.h"
#include "ts/section_extractor.h"

namespace {

using namespace kestrel::ts;

constexpr std::uintmax_t looped_size = std::uintmax_t{256} << 20;

// A capture repeated back to back into a temporary file of 256 MiB, made once per run and
// removed at exit; empty when the capture is not there.
std::string looped(const std::string& name) {
    static std::map<std::string, std::filesystem::path> made;
    static struct cleanup {
        ~cleanup() {
            for (const auto& [name, path] : made)
                std::filesystem::remove(path);
        }
    } at_exit;
    if (auto it = made.find(name); it != made.end()) return it->second;
    const std::filesystem::path source = std::filesystem::path(KESTREL_SHARED_DIR "/captures") / name;
    std::ifstream in(source, std::ios::binary);
    const std::vector<char> capture{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (capture.empty()) return {};
    const auto path = std::filesystem::temp_directory_path() / ("kestrel-bench-" + name);
    std::ofstream out(path, std::ios::binary);
    for (std::uintmax_t written = 0; written < looped_size; written += capture.size())
        out.write(capture.data(), static_cast<std::streamsize>(capture.size()));
    made[name] = path;
    return path;
}

// Reads the file front to back in the extractor's block size, looking at nothing.
void BM_PlainRead(benchmark::State& state, const char* name) {
    const std::string path = looped(name);
    if (path.empty()) return state.SkipWithError("capture not found under " KESTREL_SHARED_DIR "/captures");
    std::vector<char> buffer(capture_file::block_size);
    std::uint64_t total = 0;
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_RDONLY);
        for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;)
            total += static_cast<std::uint64_t>(n);
        ::close(fd);
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
    ->Unit(benchmark::kMillisecond)
    ;
BENCHMARK_CAPTURE(BM_PlainRead, signalling_dense, "test-030.ts")
    ->Unit(benchmark::kMillisecond)
    ;
BENCHMARK_CAPTURE(BM_ExtractSections, signalling_dense, "test-030.ts",
                  {0x64, 0xC8, 0x12C, 0x190, 0x1F4, 0x258, 0x2BC, 0x320, 0x384, 0x3E8, 0x1003})
    ->Unit(benchmark::kMillisecond)
    ;

}  // namespace

BENCHMARK_MAIN();
