#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/card.h"
#include "lib13818/delivery/delivery.h"

namespace kestrel {

// One transponder a capture card can receive: where it is and the capture that plays it.
struct capture_transponder {
    int position = -1;  // DiSEqC position 0..3; -1 for cable and terrestrial
    std::uint32_t frequency_khz = 0;
    char polarisation = 0;          // 'H', 'V', 'L' or 'R'; 0 for cable and terrestrial
    std::uint32_t symbol_rate = 0;  // symbols per second
    std::string path;               // the capture file, resolved against the manifest's folder
    int line = 0;                   // where the manifest names it; 0 for a single capture
    // The signal: the line's system (automatic: the frontend's first-generation one); the
    // DVB-S2 input stream or DVB-T2 PLP, or -1 when the line names none.
    lib13818::DeliverySystem system = lib13818::DeliverySystem::automatic;
    std::int32_t stream_id = lib13818::automatic;
};

// What a capture card plays: a manifest of transponders, or one capture that is always locked.
struct capture_manifest {
    std::int32_t type = frontend_dvb_s;
    std::vector<capture_transponder> transponders;
    bool always_locked = false;
};

// Reads a manifest's text:
//   # a comment, to the end of the line
//   frontend dvb-s|dvb-c|dvb-t          (before the first transponder; default dvb-s)
//   POSITION FREQUENCY_KHZ POLARISATION SYMBOL_RATE [system=SYSTEM] [stream=N] FILE
// with '-' for position and polarisation on cable and terrestrial lines, and FILE (the rest
// of the line, blanks included) relative to `folder`. SYSTEM is one of the frontend's:
// dvb-s or dvb-s2 for a dvb-s frontend, dvb-t or dvb-t2 for dvb-t, dvb-c for dvb-c (a line
// without it carries the frontend's first-generation system); N (0..255) is the DVB-S2
// input stream or the DVB-T2 PLP, and lines of one frequency may carry different streams.
// Returns "" or a one-line reason that
// names the manifest and the line: "demo.manifest:4: polarisation must be H, V, L or R".
std::string parse_manifest(std::string_view text, const std::string& name, const std::string& folder,
                           capture_manifest& out);

// Reads the manifest file at path the same way; "" or a one-line reason naming the file.
std::string load_manifest(const std::string& path, capture_manifest& out);

// The first-generation system of a frontend type: what a tuning that names no system asks
// for, and what a line that names none carries.
lib13818::DeliverySystem base_system(std::int32_t frontend_type);

}  // namespace kestrel
