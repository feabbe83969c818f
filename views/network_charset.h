#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/scan_result.h"

namespace kestrel::views {

// Every text of the network's tables that carries no selector: service and provider names,
// event names and texts, extended event items, component texts.
std::vector<std::string_view> selectorless_texts(const Network& network);

// The table for the network's texts without a selector: the run's override when there is
// one (an iconv name, "" for ISO/IEC 6937), else the guess from its selector-less texts.
std::string network_charset(const Network& network, const std::optional<std::string>& override_charset);

}  // namespace kestrel::views
