#include "device/signal_statistics.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

signal_statistics counted(std::uint64_t errors, std::uint64_t total) {
    signal_statistics s;
    s.pre_fec_bits = error_count{errors, total};
    s.blocks = error_count{errors, total};
    return s;
}

TEST(ErrorRates, ComeFromCountersThatMovedOnly) {
    struct row {
        signal_statistics earlier, later;
        const char* rate;
    };
    const row rows[] = {
        {counted(10, 1000), counted(30, 11000), "2.0e-03"},
        {counted(10, 1000), counted(10, 1000), "n/a"},  // the total did not move
        {counted(10, 9000), counted(0, 100), "n/a"},    // a new tuning started the counters again
        {signal_statistics{}, counted(0, 100), "n/a"},  // the card had none before
    };
    for (const row& r : rows) {
        const error_rates rates = rates_between(r.earlier, r.later);
        EXPECT_EQ(rate_text(rates.pre_fec_ber), r.rate);
        EXPECT_EQ(rate_text(rates.block_error_rate), r.rate);
        EXPECT_EQ(rate_text(rates.post_fec_ber), "n/a");
    }
}

TEST(ErrorRates, ATrackerComparesReadingsAboutASecondApart) {
    error_rate_tracker tracker;
    EXPECT_FALSE(tracker.add(counted(0, 0), 0).pre_fec_ber.has_value());
    EXPECT_FALSE(tracker.add(counted(5, 500), 250).pre_fec_ber.has_value());
    EXPECT_DOUBLE_EQ(*tracker.add(counted(10, 1000), 1000).pre_fec_ber, 0.01);
    // The next period starts at that reading; until it is over the rate stays.
    EXPECT_DOUBLE_EQ(*tracker.add(counted(1000, 1100), 1500).pre_fec_ber, 0.01);
    EXPECT_DOUBLE_EQ(*tracker.add(counted(10, 2000), 2000).pre_fec_ber, 0.0);
}

}  // namespace
}  // namespace kestrel
