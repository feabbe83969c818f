#pragma once

#include <cstdint>
#include <string>

namespace kestrel::cli {

// The options kestrel-cli takes before the command name.
struct global_options {
    int32_t trace_level = 0;
    std::string charset;    // --charset: the table for DVB texts without a selector; "" guesses
    int command_index = 1;  // argv index of the command name
    std::string error;      // a one-line message when the options are wrong
};

// Reads `--trace-level N` and `--charset NAME` (or `--option=VALUE`) before the command name.
global_options parse_global_options(int argc, char* const* argv);

}  // namespace kestrel::cli
