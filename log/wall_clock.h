#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

namespace kestrel {

// A reading of the wall clock with milliseconds, as both logs stamp their lines.
struct wall_time {
    std::time_t seconds = 0;
    std::uint16_t milliseconds = 0;
};

// Where a log reads the time; tests replace it with fixed readings.
using wall_clock = std::function<wall_time()>;

wall_time system_wall_time();

// The local calendar time of a reading (the process's time zone).
std::tm local_calendar(std::time_t seconds);

// "Jan" .. "Dec" whatever the locale, so that log lines read the same everywhere.
const char* month_abbreviation(int tm_mon);

}  // namespace kestrel
