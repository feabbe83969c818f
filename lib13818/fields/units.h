#pragma once

#include "lib13818/fields/description.h"

namespace lib13818::units {

// The units the descriptors count in.
inline constexpr unit hertz{"hz", "Hz", 1};
inline constexpr unit ten_hertz{"hz", "Hz", 10};                // binary terrestrial frequencies
inline constexpr unit hundred_hertz{"hz", "Hz", 100};           // BCD cable frequencies
inline constexpr unit ten_kilohertz{"khz", "kHz", 10};          // BCD satellite frequencies
inline constexpr unit hundred_symbols{"sps", "symbol/s", 100};  // BCD symbol rates
inline constexpr unit tenth_degree{"", "degrees", 1, 10};       // BCD orbital positions
inline constexpr unit four_hundred_bits{"bps", "bit/s", 400};   // rates of buffers and streams
inline constexpr unit byte_count{"bytes", "bytes", 1};
inline constexpr unit milliseconds{"ms", "ms", 1};

}  // namespace lib13818::units
