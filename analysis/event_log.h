#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/indicators.h"
#include "analysis/packet_clock.h"
#include "analysis/report.h"

namespace kestrel::analysis {

// Where an event happened: the packet that raised it.
struct event_place {
    std::uint64_t packet = 0;
    std::uint64_t pid_packet = 0;
    std::int64_t ticks = no_time;
    std::uint16_t pid = 0;
};

// The events of every indicator: complete counts, and the first `kept` events of each with
// their details. An indicator counts at most once per packet.
class event_log {
  public:
    explicit event_log(std::uint32_t kept) : kept_(kept) { last_packet_.fill(UINT64_MAX); }

    // Counts the event; `detail` (a callable giving a std::string) is made only for kept ones.
    // The absences found when the capture ends all name its last packet: they count each.
    template <class Detail>
    void raise(indicator which, const event_place& at, Detail&& detail, bool once_per_packet = true) {
        const auto i = static_cast<std::size_t>(which);
        if (once_per_packet && last_packet_[i] == at.packet) return;
        last_packet_[i] = at.packet;
        if (counts_[i]++ < kept_) keep(which, at, detail());
    }

    std::uint64_t count(indicator which) const { return counts_[static_cast<std::size_t>(which)]; }
    // The kept events in stream order.
    std::vector<error_event> take_events();

  private:
    void keep(indicator which, const event_place& at, std::string detail);

    std::uint32_t kept_;
    std::array<std::uint64_t, indicator_count> counts_{};
    std::array<std::uint64_t, indicator_count> last_packet_{};
    std::vector<error_event> events_;
};

// "0.73 s": a duration in ticks as the details give it.
std::string seconds_text(std::int64_t ticks);

}  // namespace kestrel::analysis
