#pragma once

#include <cstdint>
#include <string>

namespace kestrel::cli {

// The options kestrel-cli takes before the command name.
struct global_options {
    int32_t trace_level = 0;
    int command_index = 1;  // argv index of the command name
    std::string error;      // a one-line message when the options are wrong
};

// Reads `--trace-level N` (or `--trace-level=N`) before the command name.
global_options parse_global_options(int argc, char* const* argv);

}  // namespace kestrel::cli
