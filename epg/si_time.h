#pragma once

// SI times as seconds: a start time (MJD and six BCD digits) as seconds since 1970-01-01
// UTC, a duration (six BCD digits) as seconds. A time that is all ones (undefined) or
// holds digits that are not BCD is reported, never read as some other time.

#include <cstdint>
#include <optional>
#include <string>

#include "lib13818/core/values.h"

namespace kestrel::epg {

enum class time_fault;

struct utc_seconds {
    std::optional<std::int64_t> value;
    time_fault fault;
};
struct duration_seconds {
    std::optional<std::int32_t> value;
    time_fault fault;
};

utc_seconds to_utc_seconds(const lib13818::UtcTime& t);
duration_seconds to_seconds(const lib13818::Duration& d);

// The civil date and time of day of a count of seconds since 1970 (UTC or local).
struct civil_time {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int weekday = 4;  // 0 Sunday .. 6 Saturday
};
civil_time to_civil(std::int64_t seconds);
// The day number (days since 1970-01-01) holding `seconds`, and its first second.
std::int64_t day_of(std::int64_t seconds);
inline std::int64_t day_start(std::int64_t day) {
    return day * 86400;
}

// "2026-12-07T20:15:00Z"
std::string iso8601_utc(std::int64_t utc);
// "20261207201500 +0000"
std::string xmltv_time(std::int64_t utc);
// "hh:mm" of a local time
std::string clock_text(std::int64_t local);
// "Saturday 2026-03-14" of a local day
std::string day_text(std::int64_t day);

}  // namespace kestrel::epg
