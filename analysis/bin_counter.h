#pragma once

#include <cstdint>
#include <vector>

#include "analysis/pid_table.h"

namespace kestrel::analysis {

// Packets per PID per time bin. Bins start at the first packet; past `max_bins` bins two
// neighbours are joined and the interval doubles, so memory stays bounded on any capture.
class bin_counter {
  public:
    static constexpr std::size_t max_bins = 100'000;

    explicit bin_counter(std::int64_t interval_ticks) : interval_ticks_(interval_ticks) {}

    // Counts `n` packets of pid at `ticks`.
    void count(std::uint16_t pid, std::int64_t ticks, std::uint32_t n = 1) {
        // Times mostly run on within the bin of the packet before: no division then.
        if (ticks < bin_start_ || ticks >= bin_start_ + interval_ticks_) [[unlikely]]
            find_bin(ticks);
        const std::size_t bin = bin_;
        std::vector<std::uint32_t>& bins = pids_[pid];
        if (bin >= bins.size()) [[unlikely]]
            bins.resize(bin + 1);
        bins[bin] += n;
        if (bin >= bin_count_) bin_count_ = bin + 1;
    }

    // Whether both times fall in one bin.
    bool same_bin(std::int64_t a, std::int64_t b) const { return a / interval_ticks_ == b / interval_ticks_; }
    std::int64_t interval_ticks() const { return interval_ticks_; }
    std::size_t bins() const { return bin_count_; }
    // The packets of pid in each bin (shorter than bins() when it ended early).
    const std::vector<std::uint32_t>& of(std::uint16_t pid) const { return pids_[pid]; }

  private:
    // Makes bin_ the bin of `ticks`, joining bins until it falls below the limit.
    void find_bin(std::int64_t ticks);

    std::int64_t interval_ticks_;
    std::size_t bin_count_ = 0;
    std::size_t bin_ = 0;
    std::int64_t bin_start_ = 0;
    pid_table<std::vector<std::uint32_t>> pids_;
};

}  // namespace kestrel::analysis
