#include "epg/si_time.h"

#include <chrono>
#include <cstdio>

#include "epg/guide.h"

namespace kestrel::epg {

namespace {

constexpr std::int64_t unix_epoch_mjd = 40587;
constexpr std::uint32_t all_ones_hms = 0xFFFFFF;

// hh, mm, ss of six BCD digits, when they form a time of day or a duration.
int bcd_seconds(std::uint32_t hms) {
    return lib13818::bcd(static_cast<std::uint8_t>(hms >> 16)) * 3600 +
           lib13818::bcd(static_cast<std::uint8_t>(hms >> 8)) * 60 +
           lib13818::bcd(static_cast<std::uint8_t>(hms));
}

// The date and time of `utc` in `format`, which takes year, month, day, hour, minute, second.
std::string formatted(std::int64_t utc, const char* format) {
    const civil_time c = to_civil(utc);
    char text[40];
    std::snprintf(text, sizeof text, format, c.year, c.month, c.day, c.hour, c.minute, c.second);
    return text;
}

}  // namespace

utc_seconds to_utc_seconds(const lib13818::UtcTime& t) {
    if (t.mjd == 0xFFFF && t.hms_bcd == all_ones_hms) return {std::nullopt, time_fault::undefined};
    if (!lib13818::is_bcd(t.hms_bcd, 6)) return {std::nullopt, time_fault::not_bcd};
    return {(std::int64_t{t.mjd} - unix_epoch_mjd) * 86400 + bcd_seconds(t.hms_bcd), time_fault::none};
}

duration_seconds to_seconds(const lib13818::Duration& d) {
    if (d.hms_bcd == all_ones_hms) return {std::nullopt, time_fault::undefined};
    if (!lib13818::is_bcd(d.hms_bcd, 6)) return {std::nullopt, time_fault::not_bcd};
    return {bcd_seconds(d.hms_bcd), time_fault::none};
}

std::int64_t day_of(std::int64_t seconds) {
    return seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
}

civil_time to_civil(std::int64_t seconds) {
    using namespace std::chrono;
    const std::int64_t day = day_of(seconds);
    const sys_days days{std::chrono::days{day}};
    const year_month_day date{days};
    const std::int64_t in_day = seconds - day_start(day);
    civil_time c;
    c.year = static_cast<int>(date.year());
    c.month = static_cast<int>(static_cast<unsigned>(date.month()));
    c.day = static_cast<int>(static_cast<unsigned>(date.day()));
    c.hour = static_cast<int>(in_day / 3600);
    c.minute = static_cast<int>(in_day / 60 % 60);
    c.second = static_cast<int>(in_day % 60);
    c.weekday = static_cast<int>(weekday{days}.c_encoding());
    return c;
}

std::string iso8601_utc(std::int64_t utc) {
    return formatted(utc, "%04d-%02d-%02dT%02d:%02d:%02dZ");
}

std::string xmltv_time(std::int64_t utc) {
    return formatted(utc, "%04d%02d%02d%02d%02d%02d +0000");
}

std::string clock_text(std::int64_t local) {
    const civil_time c = to_civil(local);
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", c.hour, c.minute);
    return text;
}

std::string day_text(std::int64_t day) {
    static constexpr const char* weekdays[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};
    const civil_time c = to_civil(day_start(day));
    char text[40];
    std::snprintf(text, sizeof text, "%s %04d-%02d-%02d", weekdays[c.weekday], c.year, c.month, c.day);
    return text;
}

}  // namespace kestrel::epg
