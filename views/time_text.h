#pragma once

#include <string>

#include "lib13818/core/values.h"

namespace kestrel::views {

// day/month/year hour:minute:second, no field padded (the TDT, TOT and time of change).
std::string unpadded_time(const lib13818::UtcTime& t);
// The same with minutes and seconds in two digits (an event's start).
std::string padded_time(const lib13818::UtcTime& t);
// hours:minutes:seconds, minutes and seconds in two digits.
std::string duration_text(const lib13818::Duration& d);
// hours:minutes in two digits each.
std::string hour_minute_text(const lib13818::HourMinute& hm);

}  // namespace kestrel::views
