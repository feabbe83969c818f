#pragma once

#include <array>
#include <cstdint>

#include "lib13818/core/reader.h"

namespace lib13818 {

// Date and time in UTC: a 16-bit Modified Julian Date and six BCD digits (5 bytes,
// ETSI EN 300 468 Annex C). A default value has every field 1.
struct UtcTime {
    int32_t day = 1;
    int32_t month = 1;
    int32_t year = 1;
    int32_t hour = 1;
    int32_t minute = 1;
    int32_t second = 1;
    // The coded fields as read, for callers that must tell an undefined time (all ones) or
    // digits that are not BCD from a real time: the fields above cannot show either.
    std::uint16_t mjd = 0;
    std::uint32_t hms_bcd = 0;  // six BCD digits hhmmss in the low 24 bits

    static UtcTime read(reader& r);
};

// Six BCD digits: hh mm ss.
struct Duration {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;
    std::uint32_t hms_bcd = 0;  // the six BCD digits as read, in the low 24 bits

    static Duration read(reader& r);
};

// Four BCD digits: hh mm.
struct HourMinute {
    int32_t hours = 0;
    int32_t minutes = 0;

    static HourMinute read(reader& r);
};

// Three ISO 639 (or country) code bytes as they stand, then a NUL.
using LanguageCode = std::array<char, 4>;
LanguageCode read_language_code(reader& r);

// Two BCD digits of one byte, with no range check.
inline int32_t bcd(std::uint8_t b) {
    return (b >> 4) * 10 + (b & 0x0F);
}

// True when every one of the `digits` low nibbles of `coded` is a decimal digit.
inline bool is_bcd(std::uint32_t coded, int digits) {
    for (int i = 0; i < digits; ++i, coded >>= 4)
        if ((coded & 0x0F) > 9) return false;
    return true;
}

}  // namespace lib13818
