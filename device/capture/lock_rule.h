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
// Of several that match, the one nearest in frequency.
int receiving_transponder(const capture_manifest& manifest, const ChannelRecord& channel, int position);

}  // namespace kestrel
