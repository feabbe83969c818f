#include <gtest/gtest.h>

#include <memory>

#include "analysis/stream_analyser.h"
#include "analysis/tests/stream_fixture.h"

namespace kestrel::analysis {
namespace {

using namespace testing;

// A copy of the analyser is a snapshot (the live view finishes copies while the packets go
// on): it reports what was pushed so far, and finishing it leaves the original untouched.
TEST(AnalyserCopy, FinishesASnapshotWithoutTouchingTheOriginal) {
    packet_list stream = clean_stream(2000);
    for (std::size_t n : {900u, 100u})  // one lost audio packet in each half
        stream.erase(stream.begin() + static_cast<std::ptrdiff_t>(nth(stream, audio_pid, n)));
    std::vector<std::uint8_t> all;
    for (const auto& p : stream)
        all.insert(all.end(), p.begin(), p.end());
    const std::uint64_t half = stream.size() / 2;

    const auto original = std::make_unique<stream_analyser>(analysis_options{});
    std::optional<analysis_report> snapshot;
    ts::packet_scanner scanner(ts::format_188, ts::sync_rule::hysteresis);
    scanner.scan(all.data(), all.size(), true, [&](const ts::scanned_packet& p) {
        original->push(p);
        if (p.number + 1 == half) snapshot = std::make_unique<stream_analyser>(*original)->finish({});
    });
    const analysis_report whole = original->finish({});
    const analysis_report fresh = analyse(stream);

    ASSERT_TRUE(snapshot && snapshot->duration_s);
    EXPECT_EQ(snapshot->packets, half);
    EXPECT_NEAR(*snapshot->duration_s, 1.0, 0.01);
    EXPECT_EQ(count(*snapshot, "1.4"), 1u);
    EXPECT_EQ(whole.packets, fresh.packets);
    for (std::size_t i = 0; i < whole.indicators.size(); ++i)
        EXPECT_EQ(whole.indicators[i].count, fresh.indicators[i].count) << info(whole.indicators[i].which).id;
    EXPECT_EQ(count(whole, "1.4"), 2u);
    ASSERT_EQ(whole.errors.size(), fresh.errors.size());
    for (std::size_t i = 0; i < whole.errors.size(); ++i) {
        EXPECT_EQ(whole.errors[i].packet, fresh.errors[i].packet);
        EXPECT_EQ(whole.errors[i].time_s, fresh.errors[i].time_s);
    }
}

}  // namespace
}  // namespace kestrel::analysis
