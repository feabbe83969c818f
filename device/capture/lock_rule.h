#pragma once

#include "device/capture/manifest.h"
#include "device/card.h"

namespace kestrel {

// Which transponder of the manifest a capture card receives when tuned to `channel` with
// the switch at `position`: the index into manifest.transponders, or -1 (no lock).
//   single capture: always the one transponder.
//   DVB-S: same position; 13 V receives V and R, 18 V receives H and L, 0 V nothing;
//          frequency (channel word 0) within 2 MHz.
//   DVB-C/T: frequency within 1 MHz.
//   Every line: tuned as its system (DVB-S and DVB-S2 are different signals; a tuning that
//          names no system is tuned as the frontend's first-generation one). A line with a
//          stream locks when the tuning names that stream, or names none and the line has
//          the lowest stream of its frequency: a demodulator without a stream filter
//          delivers the first stream it finds.
// Of several that match, the one nearest in frequency.
int receiving_transponder(const capture_manifest& manifest, const ChannelRecord& channel, int position);

// How far off a tuning may be and still lock: 2000 kHz for DVB-S, 1000 kHz for DVB-C and DVB-T.
std::int64_t lock_tolerance_khz(std::int32_t frontend_type);

}  // namespace kestrel
