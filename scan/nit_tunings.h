#pragma once

// The tunings of a NIT's transport stream entry, as a NIT walk tries them: built from the
// entry's whole descriptor loop (0x43 with 0x79; 0x44 with 0x62; 0x5A and the T2 extension
// with 0x62), for the family of the card that walks.

#include <cstdint>
#include <string>
#include <vector>

#include "device/tuner_params.h"
#include "lib13818/tables/nit.h"

namespace kestrel {

// What a walk needs besides the entry: the card's family and where it stands.
struct walk_context {
    std::int32_t frontend = 0;  // frontend_type
    // The tuning in force when the walk began, as the card reads it back, but with the
    // symbol rate in symbols per second: ready to be tuned again.
    TUNERPARM tuned;
    std::uint32_t position = 0;  // DiSEqC position of satellite entries
    std::int32_t twelve_volt = 0;
    bool offers_s2 = false;
    bool offers_t2 = false;
};

// An entry's tunings: the first, then the other frequencies of the same transport stream
// to try when one does not lock. Empty with `skipped` saying why when there is nothing to
// tune; `warnings` name frequencies left out.
struct entry_tunings {
    std::vector<TUNERPARM> tunings;
    std::string skipped;
    std::vector<std::string> warnings;
};

// The delivery record of a satellite entry (one with a 0x43): its 0x79 adds the input stream
// and scrambling index, and makes it DVB-S2.
lib13818::Delivery satellite_delivery_of(const lib13818::NitTransportStream& entry);

entry_tunings tunings_of(const lib13818::NitTransportStream& entry, const walk_context& context);

// True when two tunings reach the same signal. Satellite: the same DiSEqC position,
// polarisation, input stream and scrambling index, frequencies within 2 MHz; cable and
// terrestrial: frequencies within 1 MHz and the same PLP. Same-frequency H and V, and the
// streams or PLPs of one frequency, are different signals.
bool same_signal(const TUNERPARM& a, const TUNERPARM& b);

// "DVB-S2 11836.000 MHz H ISI 1", "DVB-T2 490.000 MHz PLP 1": a tuning for the progress.
std::string tuning_text(const TUNERPARM& tuning);

// Terrestrial centre frequencies outside these are errors of the NIT (or "unknown").
inline constexpr double lowest_terrestrial_mhz = 50.0;
inline constexpr double highest_terrestrial_mhz = 1000.0;

}  // namespace kestrel
