#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "analysis/stream_analyser.h"

namespace kestrel::cli {

// What `kestrel-cli analyse` is asked to do. The limits start from the stored settings.
struct analyse_request {
    std::string file;
    std::string csv;  // --csv FILE: the bins
    bool json = false;
    bool quiet = false;
    analysis::analysis_options options;
};

// Reads the arguments after `analyse` into `request`: "" or a one-line error.
std::string parse_analyse_request(std::span<char* const> args, analyse_request& request);

extern const char* const analyse_usage;
int run_analyse(std::span<char* const> args);

}  // namespace kestrel::cli
