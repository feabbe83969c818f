#pragma once

// What a Linux frontend says about its signal, from the DVBv5 statistics properties
// (DTV_STAT_...), each in the scale it comes in: relative (0..65535), decibel (thousandths
// of a dB, of a dBm for the strength) or counter.

#include "device/card.h"
#include "device/linux/linux_kernel.h"

namespace kestrel {

// The level in percent and the bit error rate of the seed's state, from the statistics
// where the driver gives them in a relative scale and as counters, else from the older
// FE_READ_SIGNAL_STRENGTH and FE_READ_BER; a value the frontend cannot give stays 0.
void read_level_and_error_rate(system_calls& calls, int frontend, signal_state& out);

// Strength and CNR in decibels (only while locked: unlocked, drivers give whatever their
// registers hold) and the bit and block counters; what the driver does not give stays empty.
void read_frontend_statistics(system_calls& calls, int frontend, bool locked, signal_statistics& out);

}  // namespace kestrel
