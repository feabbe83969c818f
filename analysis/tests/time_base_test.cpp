#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <numeric>

#include "analysis/bin_counter.h"
#include "analysis/tests/stream_fixture.h"

namespace kestrel::analysis {
namespace {

using namespace testing;

double total_rate(const analysis_report& report, std::size_t bin) {
    return std::accumulate(report.bin_rates[bin].begin(), report.bin_rates[bin].end(), 0.0);
}

struct time_case {
    const char* name;
    bool with_pcr;
    ts::packet_format format;
    std::optional<std::uint64_t> bitrate_bps;
    time_base expected;
};

void PrintTo(const time_case& c, std::ostream* out) {
    *out << c.name;
}

class TimeBase : public ::testing::TestWithParam<time_case> {};

TEST_P(TimeBase, TimesTheStreamOrSaysItCannot) {
    const time_case& c = GetParam();
    analysis_options options;
    options.bitrate_bps = c.bitrate_bps;
    const analysis_report report = analyse(clean_stream(2000, c.with_pcr, c.format), options, c.format);
    EXPECT_EQ(report.base, c.expected);
    if (c.expected == time_base::none) {
        EXPECT_FALSE(report.duration_s);
        EXPECT_FALSE(report.bitrate_bps);
        EXPECT_TRUE(report.bin_rates.empty());
        EXPECT_FALSE(count(report, "1.3").has_value());  // needs time: not measured
        EXPECT_EQ(count(report, "1.4"), 0u);
        EXPECT_FALSE(pid_in(report, audio_pid)->bitrate_bps);
        return;
    }
    const double rate = c.bitrate_bps ? static_cast<double>(*c.bitrate_bps) : stream_bps;
    ASSERT_TRUE(report.duration_s && report.bitrate_bps);
    EXPECT_NEAR(*report.duration_s, static_cast<double>(report.packets) * 1504 / rate, 0.002);
    EXPECT_NEAR(*report.bitrate_bps, rate, rate * 0.002);
    ASSERT_FALSE(report.bin_rates.empty());
    EXPECT_NEAR(total_rate(report, 0), rate, rate * 0.01);
    for (const auto& r : report.indicators) {
        if (info(r.which).priority < 3 && !info(r.which).estimate) {
            EXPECT_EQ(r.count, 0u) << info(r.which).id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Streams, TimeBase,
    ::testing::Values(time_case{"Pcr", true, ts::format_188, std::nullopt, time_base::pcr},
                      time_case{"ArrivalStamps", false, ts::format_192, std::nullopt, time_base::arrival},
                      time_case{"GivenRate", false, ts::format_188, 1'000'000, time_base::given},
                      time_case{"NoTimeBase", false, ts::format_188, std::nullopt, time_base::none}),
    [](const auto& info) { return std::string(info.param.name); });

// Leaving the audio out of the second second lowers its rate: time still comes from the PCRs,
// so the duration stays two seconds and the second bin shows the lower rate.
TEST(TimeBase, FollowsAVariableRate) {
    packet_list stream = clean_stream(2000);
    const std::size_t half = stream.size() / 2;
    std::erase_if(stream,
                  [&](const packet_bytes& p) { return pid_of(p) == audio_pid && &p >= &stream[half]; });
    const analysis_report report = analyse(stream);
    ASSERT_TRUE(report.duration_s);
    EXPECT_NEAR(*report.duration_s, 2.0, 0.01);
    ASSERT_EQ(report.bin_rates.size(), 2u);
    EXPECT_NEAR(total_rate(report, 0), stream_bps, stream_bps * 0.01);
    EXPECT_LT(total_rate(report, 1), stream_bps * 0.6);
    const pid_report* audio = pid_in(report, audio_pid);
    ASSERT_TRUE(audio && audio->bitrate_bps);
    EXPECT_EQ(audio->bitrate_bps->min, 0);
    EXPECT_GT(audio->bitrate_bps->max, stream_bps * 0.4);
}

TEST(TimeBase, StopsAfterTheSecondsAsked) {
    analysis_options options;
    options.seconds = 1;
    const analysis_report report = analyse(clean_stream(2000), options);
    ASSERT_TRUE(report.duration_s);
    EXPECT_NEAR(*report.duration_s, 1.0, 0.002);
    EXPECT_NEAR(static_cast<double>(report.packets), stream_bps / 1504.0, 2);
}

TEST(TimeBase, PcrIntervalsPerPid) {
    const analysis_report report = analyse(clean_stream(2000));
    const pid_report* video = pid_in(report, video_pid);
    ASSERT_TRUE(video && video->pcr_interval_ms);
    EXPECT_NEAR(video->pcr_interval_ms->mean, 20, 0.1);
    EXPECT_GE(video->pcr_interval_ms->min, 19);
    EXPECT_LE(video->pcr_interval_ms->max, 21);
    EXPECT_EQ(video->kind, "video");
    EXPECT_EQ(pid_in(report, pmt_pid)->kind, "PMT");
    EXPECT_EQ(pid_in(report, audio_pid)->service_ids, std::vector<std::uint16_t>{1});
}

// Adds `ticks` to the PCR of the packet (base and extension re-encoded).
void shift_pcr(packet_bytes& p, std::int64_t ticks) {
    const std::uint64_t base =
        (std::uint64_t{p[6]} << 25) | (p[7] << 17) | (p[8] << 9) | (p[9] << 1) | (p[10] >> 7);
    const std::uint64_t value = base * 300 + ((p[10] & 1u) << 8 | p[11]) + static_cast<std::uint64_t>(ticks);
    const std::uint64_t b = value / 300, e = value % 300;
    p[6] = static_cast<std::uint8_t>(b >> 25);
    p[7] = static_cast<std::uint8_t>(b >> 17);
    p[8] = static_cast<std::uint8_t>(b >> 9);
    p[9] = static_cast<std::uint8_t>(b >> 1);
    p[10] = static_cast<std::uint8_t>((b & 1) << 7 | 0x7E | e >> 8);
    p[11] = static_cast<std::uint8_t>(e);
}

// Time comes from the PCR PID of the first programme even where another PID carries PCRs
// first: here one that no PMT names runs its PCRs at twice the real speed.
TEST(TimeBase, FollowsThePcrPidOfTheFirstProgramme) {
    packet_list stream;
    for (const packet_bytes& p : clean_stream(2000)) {
        if (pid_of(p) == video_pid && !has_payload(p)) {
            packet_bytes fast = p;
            fast[1] = static_cast<std::uint8_t>((fast[1] & 0xE0) | 0x02);  // PID 0x0200
            fast[2] = 0x00;
            shift_pcr(fast, static_cast<std::int64_t>(read_pcr(fast.data())->value));
            stream.push_back(fast);
        }
        stream.push_back(p);
    }
    const analysis_report report = analyse(stream);
    ASSERT_TRUE(report.duration_s);
    EXPECT_NEAR(*report.duration_s, 2.0, 0.02);
}

// 2.4 from a file is an estimate for constant-rate streams only, and never fails the verdict.
TEST(TimeBase, EstimatesPcrAccuracyOnlyAtAConstantRate) {
    packet_list stream = clean_stream(2000);
    EXPECT_EQ(count(analyse(stream), "2.4"), 0u);

    shift_pcr(stream[nth(stream, video_pid, 40, [](const packet_bytes& p) { return !has_payload(p); })], 27);
    const analysis_report off = analyse(stream);
    EXPECT_EQ(count(off, "2.4"), 1u);  // 1 us off; the PCR after it is measured from the one before
    EXPECT_FALSE(off.failed());

    const std::size_t half = stream.size() / 2;
    std::erase_if(stream,
                  [&](const packet_bytes& p) { return pid_of(p) == audio_pid && &p >= &stream[half]; });
    EXPECT_FALSE(count(analyse(stream), "2.4").has_value());
}

TEST(BinCounter, JoinsNeighboursPastTheLimit) {
    bin_counter bins(ms_ticks(1));
    bins.count(7, 0);
    bins.count(7, ms_ticks(1));
    bins.count(7, ms_ticks(150'000));
    EXPECT_EQ(bins.interval_ticks(), ms_ticks(2));
    EXPECT_EQ(bins.bins(), 75'001u);
    EXPECT_EQ(bins.of(7)[0], 2u);
    EXPECT_EQ(bins.of(7)[75'000], 1u);
}

// The real captures: only test-025.ts carries PCRs. Its rate is the packets between its first
// and last PCR over their span.
TEST(TimeBaseOnCaptures, TimesOnlyTheCaptureWithPcrs) {
    const std::string folder = KESTREL_SHARED_DIR "/captures/";
    if (!std::filesystem::exists(folder + "test-025.ts")) GTEST_SKIP() << "no captures at " << folder;
    const std::atomic<bool> stop{false};
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".ts") continue;
        const capture_analysis result = analyse_capture(entry.path().string(), {}, stop);
        ASSERT_EQ(result.error, "") << entry.path();
        const bool pcr = entry.path().filename() == "test-025.ts";
        EXPECT_EQ(result.report.base, pcr ? time_base::pcr : time_base::none) << entry.path();
        if (!pcr) continue;
        ASSERT_TRUE(result.report.bitrate_bps);
        EXPECT_NEAR(*result.report.bitrate_bps, 4.966e6, 4.966e6 * 0.01);
    }
}

}  // namespace
}  // namespace kestrel::analysis
