#include "analysis/bin_counter.h"

namespace kestrel::analysis {

void bin_counter::find_bin(std::int64_t ticks) {
    while (static_cast<std::size_t>(ticks / interval_ticks_) >= max_bins) {
        interval_ticks_ *= 2;
        for (auto& bins : pids_.all()) {
            for (std::size_t i = 0; i < bins.size(); ++i)
                bins[i / 2] = (i % 2 == 0 ? 0 : bins[i / 2]) + bins[i];
            bins.resize((bins.size() + 1) / 2);
        }
        bin_count_ = (bin_count_ + 1) / 2;
    }
    bin_ = static_cast<std::size_t>(ticks / interval_ticks_);
    bin_start_ = static_cast<std::int64_t>(bin_) * interval_ticks_;
}

}  // namespace kestrel::analysis
