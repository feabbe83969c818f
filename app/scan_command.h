#pragma once

#include <cstdint>

namespace kestrel::app {

class CKestrel2App;

// A scan command of the main menu (the mode of ScanContext): the keep-data question when
// there is a result already, the "SI reading" dialog, then the result in the transponder
// window when the scan's exit code says so (0 for the current transponder, 1 for the NIT
// scans).
void run_scan_command(CKestrel2App& app, std::int32_t mode);

}  // namespace kestrel::app
