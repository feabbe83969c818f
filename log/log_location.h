#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The running executable's full path, or "" when the system does not tell.
std::string executable_path();

// The folder the logs go to for an executable: its own folder when that is writable (a
// build or a portable copy), else $XDG_STATE_HOME/kestrel (default ~/.local/state/kestrel),
// created when missing. "" when no folder can be found.
std::string log_directory(std::string_view executable);

// The trace file's name for an executable's file name: a three-letter extension becomes
// "txt" ("kestrel.exe" gives "kestrel.txt"), any other name gets ".txt" appended.
std::string trace_file_name(std::string_view executable_file_name);

}  // namespace kestrel
