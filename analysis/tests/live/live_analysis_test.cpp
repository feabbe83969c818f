#include <gtest/gtest.h>

#include <thread>

#include "analysis/live_analysis.h"
#include "analysis/tests/stream_fixture.h"

namespace kestrel::analysis {
namespace {

using namespace testing;

std::vector<std::uint8_t> joined(const packet_list& list) {
    std::vector<std::uint8_t> all;
    for (const auto& p : list)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A card hands over chunks that split packets, and the window takes snapshots meanwhile: the
// analysis must come to what one pass over the same bytes finds, and no snapshot may run
// ahead of what was pushed.
TEST(LiveAnalysis, ChunksAndSnapshotsComeToWhatOnePassFinds) {
    packet_list list = clean_stream(3000);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(nth(list, audio_pid, 20)));
    list[nth(list, video_pid, 40)][0] = 0x00;  // a wrong sync byte
    const std::vector<std::uint8_t> bytes = joined(list);
    const analysis_report expected = analyse(list);

    live_analysis live({});
    std::thread card([&] {
        for (std::size_t at = 0; at < bytes.size(); at += 1000)
            live.push({bytes.data() + at, std::min<std::size_t>(1000, bytes.size() - at)});
    });
    std::uint64_t seen = 0;
    for (int i = 0; i < 20; ++i) {
        const analysis_report now = live.snapshot();
        EXPECT_GE(now.packets, seen);
        EXPECT_LE(now.packets, bytes.size() / 188);
        seen = now.packets;
    }
    card.join();
    EXPECT_EQ(live.bytes(), bytes.size());

    const analysis_report got = live.snapshot();
    EXPECT_EQ(got.packets, expected.packets);
    ASSERT_EQ(got.pids.size(), expected.pids.size());
    for (std::size_t i = 0; i < got.pids.size(); ++i) {
        EXPECT_EQ(got.pids[i].packets, expected.pids[i].packets) << got.pids[i].pid;
        EXPECT_EQ(got.pids[i].cc_errors, expected.pids[i].cc_errors) << got.pids[i].pid;
    }
    for (const char* id : {"1.2", "1.4"}) {
        EXPECT_EQ(count(got, id), count(expected, id)) << id;
        EXPECT_GT(count(got, id).value_or(0), 0u) << id;
    }
    EXPECT_EQ(got.errors.size(), expected.errors.size());
    EXPECT_EQ(got.bin_rates.size(), expected.bin_rates.size());
}

// Packets the card lost when its buffer ran over break the continuity of the PIDs they
// belonged to: those errors are marked, and only when the card said it lost data.
TEST(LiveAnalysis, MarksContinuityErrorsRightAfterTheCardsOverrun) {
    const packet_list list = clean_stream(3000);
    const std::size_t cut = list.size() / 2;
    const std::vector<std::uint8_t> before =
        joined({list.begin(), list.begin() + static_cast<std::ptrdiff_t>(cut)});
    const std::vector<std::uint8_t> after =
        joined({list.begin() + static_cast<std::ptrdiff_t>(cut + 40), list.end()});
    for (const bool overrun : {true, false}) {
        live_analysis live({});
        live.push(before);
        live.push(after, overrun);
        const analysis_report report = live.snapshot();
        ASSERT_GE(count(report, "1.4").value_or(0), 2u);
        for (const error_event& e : report.errors) {
            if (info(e.which).id != "1.4") continue;
            EXPECT_EQ(e.detail.ends_with(", inside a demux buffer overrun"), overrun) << e.detail;
        }
    }
}

TEST(LiveAnalysis, EndsOnceTheSecondsAskedForHaveCome) {
    const std::vector<std::uint8_t> bytes = joined(clean_stream(3000));
    analysis_options options;
    options.seconds = 1;
    live_analysis live(options);
    live.push(bytes);
    EXPECT_TRUE(live.complete());
    const analysis_report got = live.snapshot();
    ASSERT_TRUE(got.duration_s);
    EXPECT_NEAR(*got.duration_s, 1.0, 0.05);
}

}  // namespace
}  // namespace kestrel::analysis
