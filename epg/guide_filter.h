#pragma once

#include <cstdint>
#include <optional>
#include <set>

#include "epg/guide.h"

namespace kestrel::epg {

// What a listing keeps of a guide.
struct guide_selection {
    std::set<std::uint16_t> services;  // service_ids; empty: every service
    std::optional<int> days;           // keep events that end after the stream's current
                                       // time and start within this many days of it
};

// The guide with only the selected services and events; services left without events go.
guide select(const guide& all, const guide_selection& selection);

}  // namespace kestrel::epg
