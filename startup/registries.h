#pragma once

#include <filesystem>
#include <vector>

#include "log/trace_log.h"

namespace kestrel::startup {

// Reads registries/original_network_id.csv and registries/ca_system_id.csv from the first
// of `directories` that holds each, and builds the table library's two registries from
// them. A missing registry leaves its names "<unknown>"; that, and rows that could not be
// read, are said once in `trace`. Call once, before any thread looks a name up.
void load_registries(const std::vector<std::filesystem::path>& directories, trace_log& trace);

// The same from the data folders of the running executable, into the global trace log.
void load_registries();

}  // namespace kestrel::startup
