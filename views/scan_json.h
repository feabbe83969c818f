#pragma once

// The scan result as JSON: networks, their transponders with the tuning, and every table
// read with its header fields, loops and descriptors by kind. Texts are decoded to UTF-8
// (each network's table for texts without a selector, or the run's override) and their
// bytes stand beside them as hex under the same key with "_raw" appended.

#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "lib13818/core/dvb_text.h"
#include "model/scan_result.h"
#include "views/tree_node.h"

namespace kestrel::views {

nlohmann::ordered_json scan_json(const AllNetworks& networks, const std::optional<std::string>& charset = {});

// The pieces of that document, each as it stands there, its texts decoded with `text`: one
// record (a network, a table, a loop entry, a descriptor or one of its entries; null for
// none and for a transponder, which needs its transport_stream_id), one transponder, and the
// object of the EIT tables from the sections of its four collections in the tree's order
// (an empty collection left out).
nlohmann::ordered_json record_json(const record_ref& record, lib13818::dvb_text_decoder& text);
nlohmann::ordered_json transponder_json(std::int32_t tsid, const Transponder& transponder,
                                        lib13818::dvb_text_decoder& text);
nlohmann::ordered_json eit_json(const std::vector<nlohmann::ordered_json>& collections);

// The text kestrel-cli prints: indented by two, invalid UTF-8 replaced.
std::string json_text(const nlohmann::ordered_json& value);

}  // namespace kestrel::views
