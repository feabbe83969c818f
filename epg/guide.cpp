#include "epg/guide.h"

#include <cstdio>

namespace kestrel::epg {

std::optional<std::int64_t> guide::current_utc() const {
    if (stream_utc) return stream_utc;
    std::optional<std::int64_t> earliest;
    for (const auto& s : services)
        for (const auto& e : s.events)
            if (e.start_utc && (!earliest || *e.start_utc < *earliest)) earliest = e.start_utc;
    return earliest;
}

bool guide::has_titled_event() const {
    for (const auto& s : services)
        for (const auto& e : s.events)
            if (!e.title.empty()) return true;
    return false;
}

std::string unnamed_service(std::uint16_t service_id) {
    char text[16];
    std::snprintf(text, sizeof text, "Service 0x%04X", service_id);
    return text;
}

}  // namespace kestrel::epg
