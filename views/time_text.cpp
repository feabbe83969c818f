#include "views/time_text.h"

#include "views/text_format.h"

namespace kestrel::views {

std::string unpadded_time(const lib13818::UtcTime& t) {
    return format("%d/%d/%d %d:%d:%d", t.day, t.month, t.year, t.hour, t.minute, t.second);
}

std::string padded_time(const lib13818::UtcTime& t) {
    return format("%d/%d/%d %d:%02d:%02d", t.day, t.month, t.year, t.hour, t.minute, t.second);
}

std::string duration_text(const lib13818::Duration& d) {
    return format("%d:%02d:%02d", d.hours, d.minutes, d.seconds);
}

std::string hour_minute_text(const lib13818::HourMinute& hm) {
    return format("%02d:%02d", hm.hours, hm.minutes);
}

}  // namespace kestrel::views
