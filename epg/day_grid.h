#pragma once

// What the guide window draws, toolkit-free: for one local day, one row per service and
// one block per event that touches the day, in minutes of the local day; the details of an
// event as (name, value) rows; and the search that highlights events.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "epg/guide.h"

namespace kestrel::epg {

inline constexpr int day_minutes = 24 * 60;

struct grid_block {
    std::size_t service = 0;  // index into guide::services
    std::size_t event = 0;    // index into that service's events
    int start_minute = 0;     // within the day, 0..1440, clipped
    int end_minute = 0;
    bool overlaps = false;
};

struct day_grid {
    std::int64_t day = 0;  // days since 1970-01-01, local
    std::vector<grid_block> blocks;
    std::optional<int> now_minute;  // the stream's current time, when it falls on this day
};

// The local days on which some event starts or runs, in order.
std::vector<std::int64_t> local_days(const guide& g);
// The day a guide window opens on: the stream's current day when it has events, else the first.
std::optional<std::int64_t> first_day(const guide& g);
day_grid layout_day(const guide& g, std::int64_t day);

// Title and texts contain `needle`, ignoring ASCII case; an empty needle matches nothing.
bool matches(const guide_event& e, std::string_view needle);

// Times (local and UTC), duration, genres, ratings, components, texts and items.
std::vector<std::pair<std::string, std::string>> event_details(const guide& g, const guide_event& e);

}  // namespace kestrel::epg
