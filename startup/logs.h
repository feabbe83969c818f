#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel::startup {

// The trace file for an executable path, in its log folder (beside it in its build, else the
// state folder) under its own name with the ".txt" rule; "kestrel.txt" in the current
// folder when the executable's path is unknown.
std::string trace_file_path(std::string_view executable);

// Starts the CSV event log ("kestrel1.txt"), then opens the global trace log with the
// given maximum level. Either log failing to open leaves the program running without it.
void open_logs(int32_t trace_level);

}  // namespace kestrel::startup
