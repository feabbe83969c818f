#pragma once

#include <ostream>

#include "lib13818/core/values.h"

namespace lib13818 {

// The text forms of the dumps, in the stream's current number base:
// day/month-year hour:minute:second, hours:minutes:seconds and hours:minutes.
std::ostream& operator<<(std::ostream& out, const UtcTime& t);
std::ostream& operator<<(std::ostream& out, const Duration& d);
std::ostream& operator<<(std::ostream& out, const HourMinute& hm);

}  // namespace lib13818
