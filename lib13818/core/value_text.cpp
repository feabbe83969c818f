#include "lib13818/core/value_text.h"

namespace lib13818 {

std::ostream& operator<<(std::ostream& out, const UtcTime& t) {
    return out << t.day << '/' << t.month << '-' << t.year << ' ' << t.hour << ':' << t.minute << ':'
               << t.second;
}

std::ostream& operator<<(std::ostream& out, const Duration& d) {
    return out << d.hours << ':' << d.minutes << ':' << d.seconds;
}

std::ostream& operator<<(std::ostream& out, const HourMinute& hm) {
    return out << hm.hours << ':' << hm.minutes;
}

}  // namespace lib13818
