#include <gtest/gtest.h>

#include <numeric>

#include "views/analysis_view.h"

namespace kestrel::views {
namespace {

using analysis::analysis_report;
using analysis::indicator;

// `pids` PIDs from 0x100 on over `bins` bins of 1 s; PID 0x100 + k sends (k + 1) kbit/s, with
// one bin of PID 0x100 at 1 Mbit/s to check that averaging keeps the area.
analysis_report binned(std::size_t pids, std::size_t bins) {
    analysis_report report;
    report.bin_interval_ms = 1000;
    for (std::size_t k = 0; k < pids; ++k) {
        const auto pid = static_cast<std::uint16_t>(0x100 + k);
        report.bin_pids.push_back(pid);
        analysis::pid_report row;
        row.pid = pid;
        row.kind = k == 0 ? "video" : "audio";
        report.pids.push_back(row);
    }
    for (std::size_t b = 0; b < bins; ++b) {
        std::vector<double> rates;
        for (std::size_t k = 0; k < pids; ++k)
            rates.push_back(1000.0 * static_cast<double>(k + 1));
        report.bin_rates.push_back(rates);
    }
    report.bin_rates[bins / 2][0] = 1e6;
    return report;
}

TEST(StackedBitrates, BusiestPidsFromTheBottomThenOtherEachOnTheOneBelow) {
    const bitrate_plot plot = stacked_bitrates(binned(12, 30));
    ASSERT_EQ(plot.series.size(), 11u);
    EXPECT_EQ(plot.series[0].name, "0x0100 video");  // its one bin of 1 Mbit/s
    EXPECT_EQ(plot.series[1].name, "0x010B audio");  // 12 kbit/s
    EXPECT_EQ(plot.series[9].name, "0x0103 audio");
    EXPECT_EQ(plot.series[10].name, "other");  // 0x0102 and 0x0101 together
    EXPECT_DOUBLE_EQ(plot.series[10].upper_bps[0] - plot.series[10].lower_bps[0], 5000.0);
    ASSERT_EQ(plot.time_s.size(), 30u);
    EXPECT_EQ(plot.time_s[29], 29.0);
    for (std::size_t s = 0; s < plot.series.size(); ++s)
        for (std::size_t i = 0; i < plot.time_s.size(); ++i)
            EXPECT_EQ(plot.series[s].lower_bps[i], s == 0 ? 0.0 : plot.series[s - 1].upper_bps[i]);
    EXPECT_DOUBLE_EQ(plot.series[10].upper_bps[0], 78000.0);  // 1 + 2 + ... + 12 kbit/s
    EXPECT_DOUBLE_EQ(plot.top_bps, 1e6 + 77000.0);
}

TEST(StackedBitrates, HoursOfBinsAreAveragedDownKeepingTheBits) {
    struct {
        std::size_t bins, points;
    } cases[] = {{2000, 2000}, {2001, 1001}, {36000, 2000}, {7, 7}};
    for (const auto& c : cases) {
        const analysis_report report = binned(3, c.bins);
        const bitrate_plot plot = stacked_bitrates(report);
        EXPECT_EQ(plot.time_s.size(), c.points) << c.bins;
        const std::size_t step = (c.bins + 1999) / 2000;
        double bits = 0;
        for (std::size_t i = 0; i < plot.time_s.size(); ++i) {
            const std::size_t run = std::min(step, c.bins - i * step);
            bits += plot.series.back().upper_bps[i] * static_cast<double>(run);
        }
        EXPECT_NEAR(bits, static_cast<double>(c.bins) * 6000.0 + 1e6 - 1000.0, 1e-3) << c.bins;
    }
    EXPECT_TRUE(stacked_bitrates(analysis_report{}).series.empty());
}

TEST(AnalysisTables, ErrorsFilterByIndicatorAndPidAndPidRowsSortByTheirNumbers) {
    analysis_report report = binned(2, 1);
    report.pids[0].bitrate_bps = analysis::min_mean_max{1e6, 2.5e6, 4e6};
    report.errors = {{indicator::continuity_count_error, 10, 4, 0.5, 0x100, "missing 3 packets"},
                     {indicator::pat_error, 20, 0, std::nullopt, 0x000, "PAT absent for 0.73 s"},
                     {indicator::continuity_count_error, 30, 9, 1.5, 0x101, "missing 1 packet"}};
    report.indicators = {
        {indicator::pat_error, 1}, {indicator::continuity_count_error, 2}, {indicator::crc_error, 0}};

    EXPECT_EQ(error_indicators(report),
              (std::vector<std::string>{"1.3 PAT_error", "1.4 Continuity_count_error"}));
    EXPECT_EQ(error_pids(report), (std::vector<std::uint16_t>{0x000, 0x100, 0x101}));
    struct {
        error_filter filter;
        std::vector<double> packets;
    } cases[] = {{{"", std::nullopt}, {10, 20, 30}},
                 {{"1.4", std::nullopt}, {10, 30}},
                 {{"1.4", 0x101}, {30}},
                 {{"", 0x000}, {20}},
                 {{"2.2", std::nullopt}, {}}};
    for (const auto& c : cases) {
        std::vector<double> packets;
        for (const auto& row : error_table(report, c.filter).rows)
            packets.push_back(*row[1].number);
        EXPECT_EQ(packets, c.packets) << c.filter.indicator;
    }
    const auto untimed = error_table(report, {"1.3", std::nullopt}).rows.at(0);
    EXPECT_EQ(untimed[3].text, "-");
    EXPECT_FALSE(untimed[3].number);

    const table_rows pids = pid_table(report);
    ASSERT_EQ(pids.rows.size(), 2u);
    EXPECT_EQ(pids.rows[0][0].text, "0x0100");
    EXPECT_EQ(pids.rows[0][9].text, "2.500");
    EXPECT_EQ(pids.rows[0][9].number, 2.5e6);
    EXPECT_EQ(pids.rows[1][9].text, "-");  // no time base for it
}

TEST(AnalysisSummary, VerdictTotalsAndTheCardsFaults) {
    analysis_report report;
    report.packets = 5;
    report.indicators = {{indicator::continuity_count_error, 1}};
    const std::string card = analysis_summary(report, delivery_faults{2, 1});
    EXPECT_EQ(card.rfind("verdict: FAILED", 0), 0u) << card;
    EXPECT_NE(card.find("5 packets"), std::string::npos) << card;
    EXPECT_NE(card.find("card: 2 demux buffer overruns, 1 lock losses"), std::string::npos) << card;
    EXPECT_EQ(analysis_summary(report, std::nullopt).find("card:"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::views
