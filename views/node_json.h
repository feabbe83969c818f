#pragma once

#include <nlohmann/json.hpp>

#include "views/table_tree.h"

namespace kestrel::views {

// One node of the table tree in the shape scan_json gives the part of the scan it shows:
// a record node (network, transponder, table, loop entry, descriptor) is its record's
// object; a grouping node is what it stands for: "ALL NETWORKS" the whole document, a table
// or a list its array of sections, entries or descriptors ("NIT - actual network", "PMT",
// "STREAM_INFO", "CA_DESCRIPTORS"), "EIT" the object of its four collections; a PAT
// program node its program.
nlohmann::ordered_json node_json(table_tree& tree, const tree_node& node);

}  // namespace kestrel::views
