#pragma once

#include <cstdio>

#include "device/dvb_device.h"

namespace kestrel::cli {

// At the end of a command that read from the card: one warning line on `out` for data the
// card lost on the way in (its demux buffer running over, its frontend losing lock), so
// that a scan or a recording never looks whole when it is not.
void warn_delivery_faults(std::FILE* out, const char* command, dvb_device& device);

}  // namespace kestrel::cli
