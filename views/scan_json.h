#pragma once

// The scan result as JSON: networks, their transponders with the tuning, and every table
// read with its header fields, loops and descriptors by kind. Texts are decoded to UTF-8
// (each network's table for texts without a selector, or the run's override) and their
// bytes stand beside them as hex under the same key with "_raw" appended.

#include <optional>
#include <string>

#include <nlohmann/json.hpp>

#include "model/scan_result.h"

namespace kestrel::views {

nlohmann::ordered_json scan_json(const AllNetworks& networks, const std::optional<std::string>& charset = {});

}  // namespace kestrel::views
