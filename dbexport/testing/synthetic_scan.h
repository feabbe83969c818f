#pragma once

// A made-up scan result of any size, for the tests and the benchmark of the export.

#include "model/scan_result.h"

namespace kestrel::dbexport::testing {

// One network (0x0085) of `transponders` transport streams, each with `services` programs
// that all have a PMT with video and audio, an SDT entry with names, and `ecms` CA
// descriptors of 100 private bytes each; every CAT names one EMM PID.
AllNetworks synthetic_scan(int transponders, int services, int ecms);

}  // namespace kestrel::dbexport::testing
