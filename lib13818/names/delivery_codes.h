#pragma once

// Coded values that several delivery descriptors share (ETSI EN 300 468 V1.16.1 clause
// 6.2.13): the names of the values that have one.

#include "lib13818/fields/description.h"

namespace lib13818::codes {

// FEC_inner of the satellite and cable delivery descriptors. The DVB-S2 rates 8/9, 3/5,
// 4/5 and 9/10 (codes 6 to 9) came with the second edition of the satellite system.
inline constexpr value_name fec_inner[] = {
    {0, "not defined"},
    {1, "1/2"},
    {2, "2/3"},
    {3, "3/4"},
    {4, "5/6"},
    {5, "7/8"},
    {6, "8/9"},
    {7, "3/5"},
    {8, "4/5"},
    {9, "9/10"},
    {15, "no conv. coding"},
};

// Byte 8 of the satellite delivery descriptor, split as DVB-S2 reads it.
inline constexpr value_name roll_off[] = {{0, "0.35"}, {1, "0.25"}, {2, "0.20"}};
inline constexpr value_name modulation_system[] = {{0, "DVB-S"}, {1, "DVB-S2"}};
inline constexpr value_name modulation_type[] = {{0, "auto"}, {1, "QPSK"}, {2, "8PSK"}, {3, "16-QAM"}};

// TS_GS_mode of the S2 and S2X descriptors, as the DVB-S2 baseband header codes it. Decoders
// disagree on the names of 1 and 2: only the value shows.
inline constexpr value_name ts_gs_mode[] = {{0, "generic packetized stream"}, {3, "transport stream"}};

inline constexpr value_name west_east[] = {{0, "west"}, {1, "east"}};
inline constexpr value_name polarization[] = {
    {0, "linear - horizontal"}, {1, "linear - vertical"}, {2, "circular - left"}, {3, "circular - right"}};

// The name of `value` in `names`, or `otherwise`.
template <std::size_t N>
constexpr const char* name_or(const value_name (&names)[N], int value, const char* otherwise) {
    for (const value_name& n : names)
        if (static_cast<int>(n.value) == value) return n.name;
    return otherwise;
}

}  // namespace lib13818::codes
