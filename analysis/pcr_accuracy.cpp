#include "analysis/pcr_accuracy.h"

#include <algorithm>
#include <cstdlib>

#include "analysis/packet_clock.h"

namespace kestrel::analysis {

namespace {

constexpr std::int64_t max_step = ticks_per_second / 10;
constexpr double tolerance_ticks = 500e-9 * ticks_per_second;
constexpr double rate_spread = 0.005;
// Pairs needed before the mean rate is trusted to measure a PCR by.
constexpr std::uint64_t settling_pairs = 10;

}  // namespace

void pcr_accuracy::pcr(std::uint64_t packet, std::uint64_t value, bool discontinuity) {
    const std::int64_t step = have_last_ ? pcr_step(last_value_, value) : 0;
    const bool pair = have_last_ && !discontinuity && step > 0 && step <= max_step && packet > last_packet_;
    bool accurate = true;
    if (pair) {
        const double rate = static_cast<double>(step) / static_cast<double>(packet - last_packet_);
        min_rate_ = pairs_ == 0 ? rate : std::min(min_rate_, rate);
        max_rate_ = pairs_ == 0 ? rate : std::max(max_rate_, rate);
        ++pairs_;
        pair_ticks_ += step;
        pair_packets_ += packet - last_packet_;
        if (pairs_ > settling_pairs) {
            const double mean = static_cast<double>(pair_ticks_) / static_cast<double>(pair_packets_);
            const double expected = static_cast<double>(packet - base_packet_) * mean;
            const auto actual = static_cast<double>(pcr_step(base_value_, value));
            accurate = std::abs(actual - expected) <= tolerance_ticks;
            if (!accurate) ++inaccurate_;
        }
    }
    if (!pair || accurate) {
        base_packet_ = packet;
        base_value_ = value;
    }
    have_last_ = true;
    last_packet_ = packet;
    last_value_ = value;
}

bool pcr_accuracy::constant_rate() const {
    if (pairs_ <= settling_pairs) return false;
    const double mean = static_cast<double>(pair_ticks_) / static_cast<double>(pair_packets_);
    return max_rate_ <= mean * (1 + rate_spread) && min_rate_ >= mean * (1 - rate_spread);
}

}  // namespace kestrel::analysis
