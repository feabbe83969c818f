#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "analysis/capture_analysis.h"
#include "device/capture/capture_card.h"
#include "device/dvb_device_techotrend.h"
#include "streaming/card_analysis.h"

namespace kestrel::streaming {
namespace {

const std::string capture = KESTREL_SHARED_DIR "/captures/test-025.ts";

std::unique_ptr<dvb_device_techotrend> device_for(const capture_options& options) {
    std::string error;
    auto device = std::make_unique<dvb_device_techotrend>(capture_card::create(options, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(device->init(), result::ok);
    return device;
}

// One pass of a capture card is the capture itself: the live analysis must find what the
// analysis of the file finds, and end by itself at the end of the pass.
TEST(CardAnalysis, OnePassOfACaptureCardReportsWhatTheFileAnalysisDoes) {
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "capture not found: " << capture;
    const std::atomic<bool> no_stop{false};
    const analysis::analysis_report file = analysis::analyse_capture(capture, {}, no_stop).report;
    auto device = device_for({capture});
    card_analysis live(*device, {});
    live.start();
    live.join();
    ASSERT_EQ(live.outcomes().size(), 1u);
    EXPECT_EQ(live.outcomes()[0].error, "");
    EXPECT_EQ(live.outcomes()[0].bytes, std::filesystem::file_size(capture));
    const analysis::analysis_report got = live.snapshot();
    EXPECT_EQ(got.packets, file.packets);
    EXPECT_EQ(got.base, analysis::time_base::pcr);
    ASSERT_TRUE(got.bitrate_bps && file.bitrate_bps);
    EXPECT_DOUBLE_EQ(*got.bitrate_bps, *file.bitrate_bps);
    ASSERT_EQ(got.pids.size(), file.pids.size());
    for (std::size_t i = 0; i < got.pids.size(); ++i) {
        EXPECT_EQ(got.pids[i].packets, file.pids[i].packets);
        EXPECT_EQ(got.pids[i].cc_errors, file.pids[i].cc_errors);
    }
    EXPECT_EQ(live.faults().overflows, 0u);
}

TEST(CardAnalysis, CancelEndsARealTimeAnalysisWithWhatCame) {
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "capture not found: " << capture;
    auto device = device_for({capture, true});
    card_analysis live(*device, {});
    live.start();
    while (live.bytes_read() == 0)
        std::this_thread::yield();
    live.cancel();
    live.join();
    EXPECT_TRUE(live.finished());
    EXPECT_LT(live.outcomes()[0].bytes, std::filesystem::file_size(capture));
    EXPECT_EQ(live.snapshot().packets, live.outcomes()[0].bytes / 188);
}

TEST(CardAnalysis, ARefusedFilterIsReported) {
    dvb_device_techotrend no_card(nullptr);
    card_analysis live(no_card, {});
    live.start();
    live.join();
    EXPECT_EQ(live.outcomes()[0].error, "the device refused the filter (result 5: card not initialized)");
    EXPECT_EQ(live.snapshot().packets, 0u);
}

}  // namespace
}  // namespace kestrel::streaming
