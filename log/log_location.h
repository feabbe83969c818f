#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The running executable's full path, or "" when the system does not tell.
std::string executable_path();

// The folder this build puts its programs in (build/bin), compiled in.
std::string build_output_directory();

// The folder the logs go to for an executable: its own folder when that is the build's
// output folder (a program run from its build), else $XDG_STATE_HOME/kestrel (default
// ~/.local/state/kestrel), created when missing. An installed or unpacked program never
// writes beside itself, even where it could (run as root). "" when no folder can be found.
std::string log_directory(std::string_view executable,
                          std::string_view build_output = build_output_directory());

// The trace file's name for an executable's file name: a three-letter extension becomes
// "txt" ("kestrel.exe" gives "kestrel.txt"), any other name gets ".txt" appended.
std::string trace_file_name(std::string_view executable_file_name);

}  // namespace kestrel
