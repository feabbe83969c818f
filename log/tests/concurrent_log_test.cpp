#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "log/event_log.h"
#include "log/tests/log_test_support.h"
#include "log/trace_log.h"

namespace kestrel {
namespace {

constexpr int threads = 8;
constexpr int lines_per_thread = 200;
const std::string payload(300, 'p');

// Runs write_line(thread, line) from many threads at once.
template <typename Write>
void from_many_threads(Write write_line) {
    std::vector<std::jthread> writers;
    for (int t = 0; t < threads; ++t)
        writers.emplace_back([t, &write_line] {
            for (int i = 0; i < lines_per_thread; ++i)
                write_line(t, i);
        });
}

// Every line is whole (matches `whole`) and every line of every thread is there once.
void expect_whole_lines(const std::string& text, const std::string& whole) {
    const std::regex pattern(whole);
    std::istringstream in(text);
    std::set<std::pair<std::string, std::string>> seen;
    for (std::string line; std::getline(in, line);) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, pattern)) << line;
        seen.emplace(m[1], m[2]);
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(threads * lines_per_thread));
}

using ConcurrentLogs = testing::log_test;

TEST_F(ConcurrentLogs, TraceLinesNeverInterleave) {
    trace_log trace;
    ASSERT_EQ(trace.open(file("trace.txt").c_str(), trace_log::full_path, 0x10F, 4), 0);
    std::jthread level_changer([&trace](std::stop_token stop) {
        for (int32_t level = 2; !stop.stop_requested(); level = 6 - level)
            trace.set_level(level);
    });
    from_many_threads([&](int t, int i) { trace.log(t % 3, "thread %d line %d %s", t, i, payload.c_str()); });
    level_changer = {};
    trace.close();
    expect_whole_lines(read(file("trace.txt")),
                       R"( *\d+ - \w{3} \d\d [\d:]{8}\. *\d+ - \(\d+\.\d{3}\) - <\d> - +)"
                       R"(thread (\d+) line (\d+) p{300})");
}

TEST_F(ConcurrentLogs, EventLinesNeverInterleave) {
    event_log_start_in(dir.c_str(), 509, 4, "events.txt");
    from_many_threads(
        [](int t, int i) { event_log(1 + t % 4, "thread %d line %d %s", t, i, payload.c_str()); });
    event_log_start_in("", 0, 0, "");
    const std::string header =
        "Date,Time,Milliseconds,Process ID,Thread ID,Log level,Log type,Description\r\n\r\n";
    const std::string text = read(file("events.txt"));
    ASSERT_EQ(text.substr(0, header.size()), header);
    expect_whole_lines(text.substr(header.size()),
                       R"([\d.]{10},[\d:]{8},\d{3},(?:"0x[0-9a-f]{8}",){2}\d,"[a-z ]{7}",)"
                       R"("thread (\d+) line (\d+) p{300}"\r)");
}

}  // namespace
}  // namespace kestrel
