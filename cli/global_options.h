#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kestrel::cli {

// The options kestrel-cli takes before the command name.
struct global_options {
    std::optional<int32_t> trace_level;  // when given
    int command_index = 1;               // argv index of the command name
    std::string error;                   // a one-line message when the options are wrong
};

// Reads `--trace-level N` (or `--trace-level=N`) before the command name.
global_options parse_global_options(int argc, char* const* argv);

}  // namespace kestrel::cli
