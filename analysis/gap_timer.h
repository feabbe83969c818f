#pragma once

#include <cstdint>
#include <optional>

#include "analysis/packet_clock.h"

namespace kestrel::analysis {

// The time since something last occurred (a PID, a table, a PTS). It is armed at the first
// occurrence, so that an absence from the very start is no repetition error; each gap longer
// than the limit is one event, raised by the occurrence that ends it or at the end.
struct gap_timer {
    std::int64_t last = no_time;

    bool armed() const { return last != no_time; }
    void arm(std::int64_t ticks) {
        if (!armed()) last = ticks;
    }
    // Notes an occurrence at `ticks` (untimed ones are passed over) and returns the gap it
    // ends when that is longer than `limit`.
    std::optional<std::int64_t> occur(std::int64_t ticks, std::int64_t limit) {
        if (ticks == no_time) return std::nullopt;
        const std::int64_t gap = armed() ? ticks - last : 0;
        last = ticks;
        if (gap > limit) return gap;
        return std::nullopt;
    }
    // The gap still open when the capture ends at `end_ticks`, if longer than `limit`.
    std::optional<std::int64_t> open_gap(std::int64_t end_ticks, std::int64_t limit) const {
        if (!armed() || end_ticks == no_time || end_ticks - last <= limit) return std::nullopt;
        return end_ticks - last;
    }
};

inline constexpr std::int64_t ms_ticks(std::int64_t ms) {
    return ms * (ticks_per_second / 1000);
}

}  // namespace kestrel::analysis
