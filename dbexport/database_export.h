#pragma once

// The database export: the whole scan result written into a new SQLite file, with six
// tables, their keys and two views (the schema in dbexport/schema.h).
//
// The export reads the scan result only; it runs on the caller's thread (the GUI's
// worker, or kestrel-cli's main thread). A file already at the path is replaced, but only
// once the new database is complete and on the disk: the export writes one transaction
// into a temporary file beside the target and renames it over the target at the end.

#include <atomic>
#include <cstddef>
#include <string>

#include "model/scan_result.h"

namespace kestrel::dbexport {

// What the export has done so far, for a timer of the GUI to poll while it runs.
struct export_progress {
    std::atomic<std::size_t> transponders_total{0};
    std::atomic<std::size_t> transponders_written{0};
};

// Returns "" once the database is at path; on failure the text for a message box or
// standard error, "Error: <code>\nDesc: <text>\nSource: SQLite" (or "system" for the file
// operations), and path holds what it held before.
std::string export_database(const std::string& path, const AllNetworks& networks,
                            export_progress* progress = nullptr);

}  // namespace kestrel::dbexport
