#include "analysis/event_log.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::analysis {

void event_log::keep(indicator which, const event_place& at, std::string detail) {
    std::optional<double> time_s;
    if (at.ticks != no_time) time_s = static_cast<double>(at.ticks) / ticks_per_second;
    events_.push_back({which, at.packet, at.pid_packet, time_s, at.pid, std::move(detail)});
}

std::vector<error_event> event_log::take_events() {
    // Events raised at the end of the capture (absences, unreferenced PIDs) name earlier
    // packets; the events of one packet go in the order of their indicators, whichever check
    // raised them first.
    std::stable_sort(events_.begin(), events_.end(), [](const error_event& a, const error_event& b) {
        return a.packet != b.packet ? a.packet < b.packet : a.which < b.which;
    });
    return std::move(events_);
}

std::string seconds_text(std::int64_t ticks) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", static_cast<double>(ticks) / ticks_per_second);
    return text;
}

}  // namespace kestrel::analysis
