#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kestrel::cli {

// The options of kestrel-cli itself, as opposed to a command's.
struct global_options {
    std::optional<int32_t> trace_level;  // --trace-level N: overrides the stored "loglevel"
    std::string settings_file;           // --settings FILE: an INI file instead of the user's store
    std::string charset;                 // --charset NAME: the table of DVB texts without a selector
    int command_index = 1;               // argv index of the command name (argc when none)
    std::vector<char*> command_args;     // the command's own arguments, global options taken out
    std::string error;                   // a one-line message when the options are wrong
};

// Reads `--trace-level N` and `--charset NAME` before the command name and `--settings
// FILE` before or after it (each also as `--option=VALUE`).
global_options parse_global_options(int argc, char* const* argv);

}  // namespace kestrel::cli
