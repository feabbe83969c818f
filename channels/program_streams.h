#pragma once

// What a channel list takes from a program's PMT: the video stream, the audio streams with
// their languages, teletext, subtitles and the CA systems.

#include "channels/channel_entry.h"
#include "lib13818/tables/pmt.h"

namespace kestrel::channels {

// Fills the entry's PCR PID, video (the first video stream), audio (every audio stream,
// and stream type 0x06 with an AC-3, enhanced AC-3 or AAC descriptor), teletext (the first
// stream with a teletext descriptor), subtitles (streams with a subtitling descriptor) and
// CA system ids from the PMT.
void add_program_streams(const lib13818::Pmt& pmt, channel_entry& entry);

}  // namespace kestrel::channels
