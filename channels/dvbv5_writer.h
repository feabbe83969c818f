#pragma once

// The dvbv5 channel file (dvbv5-zap and the programs built on libdvbv5): one block per
// entry, "[NAME]" then indented "KEY = VALUE" lines, a blank line after each block.

#include <cstdint>
#include <ostream>
#include <span>

#include "channels/channel_entry.h"

namespace kestrel::channels {

// The LNB the satellite entries name: oscillators and switch frequency in kHz.
struct lnb_oscillators {
    std::int32_t low_khz = 9750000;
    std::int32_t high_khz = 10600000;
    std::int32_t switch_khz = 11700000;
};

// Writes the entries in their order. The format has no key for provider, languages or CA
// systems, so those are left out; VIDEO_PID and AUDIO_PID carry the video and audio
// streams, PID_06 teletext and subtitles, VCHANNEL the logical channel number. Satellite
// entries name the LNB (EXTENDED for 9750/10600/11700 MHz, else "LOW,HIGH,SWITCH" in MHz)
// and the DiSEqC position (SAT_NUMBER).
void write_dvbv5(std::ostream& out, std::span<const channel_entry> entries, const lnb_oscillators& lnb);

}  // namespace kestrel::channels
