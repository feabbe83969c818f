#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "ts/packet.h"

namespace kestrel::analysis {

// Packets per PID per time bin. Bins start at the first packet; past `max_bins` bins two
// neighbours are joined and the interval doubles, so memory stays bounded on any capture.
class bin_counter {
  public:
    static constexpr std::size_t max_bins = 100'000;

    explicit bin_counter(std::int64_t interval_ticks) : interval_ticks_(interval_ticks) {}

    void count(std::uint16_t pid, std::int64_t ticks) {
        auto bin = static_cast<std::size_t>(ticks / interval_ticks_);
        if (bin >= max_bins) [[unlikely]]
            bin = coalesce_for(ticks);
        std::vector<std::uint32_t>& bins = pids_[pid];
        if (bin >= bins.size()) [[unlikely]]
            bins.resize(bin + 1);
        ++bins[bin];
        if (bin >= bin_count_) bin_count_ = bin + 1;
    }

    std::int64_t interval_ticks() const { return interval_ticks_; }
    std::size_t bins() const { return bin_count_; }
    // The packets of pid in each bin (shorter than bins() when it ended early).
    const std::vector<std::uint32_t>& of(std::uint16_t pid) const { return pids_[pid]; }

  private:
    // Joins bins until `ticks` falls in a bin below the limit, and returns that bin.
    std::size_t coalesce_for(std::int64_t ticks);

    std::int64_t interval_ticks_;
    std::size_t bin_count_ = 0;
    std::array<std::vector<std::uint32_t>, ts::pid_count> pids_;
};

}  // namespace kestrel::analysis
