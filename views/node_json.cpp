#include "views/node_json.h"

#include "views/scan_json.h"

namespace kestrel::views {

namespace {

using json = nlohmann::ordered_json;

bool is_eit_table(const tree_node& node) {
    return node.parent != nullptr && node.parent->kind == item_kind::transponder && node.text == "EIT";
}

// A program node under "PAT" shows the PAT itself; its row is the program's index.
bool is_pat_program(const tree_node& node) {
    return node.parent != nullptr && std::holds_alternative<const lib::Pat*>(node.record) &&
           node.parent->record == node.record;
}

std::int32_t transport_stream_id(const tree_node& transponder) {
    const auto* network = std::get<const Network*>(transponder.parent->record);
    const auto* tp = std::get<const Transponder*>(transponder.record);
    for (const auto& [tsid, candidate] : network->transponders)
        if (&candidate == tp) return tsid;
    return tp->transponder_number;
}

// An EIT section the scan did not receive has a node (its key) but no place in the JSON.
bool received(const record_ref& record) {
    const auto* eit = std::get_if<const lib::Eit*>(&record);
    return eit == nullptr || (*eit)->parsed;
}

// The elements a grouping node stands for: its record children, and the elements of its
// grouping children in their place ("NID 2F01" holds sections, so does the NIT above it).
void append_elements(json& array, table_tree& tree, const tree_node& node) {
    for (const auto& child : node.children) {
        if (std::holds_alternative<std::monostate>(child->record))
            append_elements(array, tree, *child);
        else if (received(child->record))
            array.push_back(node_json(tree, *child));
    }
}

json elements(table_tree& tree, const tree_node& node) {
    json array = json::array();
    append_elements(array, tree, node);
    return array;
}

}  // namespace

nlohmann::ordered_json node_json(table_tree& tree, const tree_node& node) {
    if (node.parent == nullptr) return {{"networks", elements(tree, node)}};
    if (node.kind == item_kind::transponder)
        return transponder_json(transport_stream_id(node), *std::get<const Transponder*>(node.record),
                                tree.decoder_for(node));
    if (is_pat_program(node)) return record_json(node.record, tree.decoder_for(node))["programs"][node.row];
    if (is_eit_table(node)) {
        std::vector<json> collections;
        for (const auto& child : node.children)
            collections.push_back(elements(tree, *child));
        return eit_json(collections);
    }
    if (std::holds_alternative<std::monostate>(node.record)) return elements(tree, node);
    return record_json(node.record, tree.decoder_for(node));
}

}  // namespace kestrel::views
