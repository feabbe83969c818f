#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::demo {

// The demo network: two satellites at DiSEqC positions 0 and 1, three transport streams
// on the first and two on the second, every PSI and SI table with invented content.
struct transponder {
    std::uint16_t transport_stream_id;
    std::uint32_t frequency_khz;
    char polarisation;  // 'H' or 'V'
    std::uint32_t symbol_rate;
    std::string file;
};

struct satellite {
    std::string name;
    int position;                  // DiSEqC position
    std::uint16_t orbital_tenths;  // east
    std::uint16_t network_id;
    std::string network_name;
    std::vector<transponder> transponders;
};

const std::vector<satellite>& satellites();

// The capture of one transport stream: a few seconds of multiplex, 188-byte packets.
std::vector<std::uint8_t> capture(const satellite& sat, const transponder& tp);

// The manifest naming every capture, and the satellite list naming both satellites.
std::string manifest();
std::string satellite_list();

}  // namespace kestrel::demo
