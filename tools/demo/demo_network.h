#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel::demo {

// The demo networks, every PSI and SI table with invented content. Two satellites at DiSEqC
// positions 0 and 1: six transport streams on the first (three DVB-S, one DVB-S2 and the
// two input streams of a multistream transponder) and two on the second. A terrestrial
// network (a DVB-T multiplex and a DVB-T2 multiplex of two PLPs, each PLP a transport
// stream of its own, with logical channel numbers) and a cable network of three QAM-256
// multiplexes, each in a manifest of its own.
enum class family { satellite, cable, terrestrial };

struct transponder {
    std::uint16_t transport_stream_id;
    std::uint32_t frequency_khz;
    char polarisation;          // 'H' or 'V'; 0 for cable and terrestrial
    std::uint32_t symbol_rate;  // 0 for terrestrial
    std::string file;
    bool second_generation = false;  // DVB-S2 8PSK or DVB-T2; else DVB-S QPSK or DVB-T
    int stream = -1;                 // the input stream or PLP; -1 for none
};

struct network {
    std::string name;
    int position;                  // DiSEqC position; -1 for cable and terrestrial
    std::uint16_t orbital_tenths;  // east; 0 for cable and terrestrial
    std::uint16_t network_id;
    std::string network_name;
    std::vector<transponder> transponders;
    family kind = family::satellite;
};

const std::vector<network>& satellites();
const network& terrestrial();
const network& cable();

// The capture of one transport stream: a few seconds of multiplex, 188-byte packets.
std::vector<std::uint8_t> capture(const network& net, const transponder& tp);

// The manifest naming every capture of the satellites, and the satellite list naming both.
std::string manifest();
std::string satellite_list();
// The manifest of the cable or terrestrial network, and its file name beside demo.manifest
// ("demo-dvb-t.manifest", "demo-dvb-c.manifest"; `--card demo?dvb-t` plays it).
std::string manifest(const network& ground);
std::string manifest_file(const network& ground);

}  // namespace kestrel::demo
