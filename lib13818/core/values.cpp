#include "lib13818/core/values.h"

#include <cmath>

namespace lib13818 {

UtcTime UtcTime::read(reader& r) {
    const double mjd = r.u16();
    const double y = std::trunc((mjd - 15078.2) * 0.0027378507871321013);
    const double m = std::trunc((mjd - 14956.1 - std::trunc(y * 365.25)) * 0.03267963176590926);
    const int32_t k = (m == 14 || m == 15) ? 1 : 0;
    UtcTime t;
    t.day = static_cast<int32_t>(mjd - 14956 - std::trunc(y * 365.25) - std::trunc(m * 30.6001));
    t.year = static_cast<int32_t>(y) + k + 1900;
    t.month = static_cast<int32_t>(m) - 1 - 12 * k;
    t.mjd = static_cast<std::uint16_t>(mjd);
    const std::uint8_t* hms = r.bytes(3);
    t.hms_bcd = (std::uint32_t{hms[0]} << 16) | (std::uint32_t{hms[1]} << 8) | hms[2];
    t.hour = bcd(hms[0]);
    t.minute = bcd(hms[1]);
    t.second = bcd(hms[2]);
    return t;
}

Duration Duration::read(reader& r) {
    Duration d;
    const std::uint8_t* hms = r.bytes(3);
    d.hms_bcd = (std::uint32_t{hms[0]} << 16) | (std::uint32_t{hms[1]} << 8) | hms[2];
    d.hours = bcd(hms[0]);
    d.minutes = bcd(hms[1]);
    d.seconds = bcd(hms[2]);
    return d;
}

HourMinute HourMinute::read(reader& r) {
    HourMinute hm;
    hm.hours = bcd(r.u8());
    hm.minutes = bcd(r.u8());
    return hm;
}

LanguageCode read_language_code(reader& r) {
    const std::uint8_t* p = r.bytes(3);
    return {static_cast<char>(p[0]), static_cast<char>(p[1]), static_cast<char>(p[2]), '\0'};
}

}  // namespace lib13818
