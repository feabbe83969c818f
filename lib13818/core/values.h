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

    static UtcTime read(reader& r);
};

// Six BCD digits: hh mm ss.
struct Duration {
    int32_t hours = 0;
    int32_t minutes = 0;
    int32_t seconds = 0;

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

}  // namespace lib13818
