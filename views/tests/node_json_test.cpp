#include <gtest/gtest.h>

#include "views/node_json.h"
#include "views/scan_json.h"
#include "views/tests/scan_fixture.h"

namespace kestrel::views {
namespace {

using namespace testing;
using json = nlohmann::ordered_json;

const tree_node& at(const tree_node& root, const std::vector<std::size_t>& rows) {
    const tree_node* node = &root;
    for (const std::size_t row : rows)
        node = node->children.at(row).get();
    return *node;
}

struct node_case {
    std::vector<std::size_t> rows;  // the node's path from "ALL NETWORKS"
    std::string label;
    std::string pointer;  // where the node's part stands in the whole document
};

// Each node's JSON is the part of the scan's JSON that the node shows, grouping nodes too.
TEST(NodeJson, EachNodeIsItsPartOfTheScansJson) {
    AllNetworks networks;
    add_transponder(networks, onid, 1, full_transponder(), 0);
    table_tree tree(networks);
    const json whole = scan_json(networks);
    const std::string tables = "/networks/0/transponders/0/tables";
    const std::string services =
        tables + "/nit_actual/0/transport_streams/0/descriptors/service_list/0/services";
    const std::string event = tables + "/eit_actual_present_following/0/events/1";
    const node_case cases[] = {
        {{}, "ALL NETWORKS", ""},
        {{0}, "2F00 - <unknown>", "/networks/0"},
        {{0, 0}, "0001 - 11778V 3/4 27500", "/networks/0/transponders/0"},
        {{0, 0, 0}, "CAT", tables + "/cat"},
        {{0, 0, 1}, "NIT - actual network", tables + "/nit_actual"},
        {{0, 0, 1, 0, 0, 1}, "STREAM_INFO", tables + "/nit_actual/0/transport_streams"},
        {{0, 0, 1, 0, 0, 1, 0, 1, 0}, "SERVICELISTSUB_DESCRIPTORS", services},
        {{0, 0, 1, 0, 0, 1, 0, 1, 0, 1}, "1", services + "/1"},
        {{0, 0, 3}, "SDT - other transport stream", tables + "/sdt_other"},
        {{0, 0, 4, 2}, "0012", tables + "/pat/programs/2"},
        {{0, 0, 5}, "PMT", tables + "/pmts"},
        {{0, 0, 5, 0, 0}, "CA_DESCRIPTORS", tables + "/pmts/0/program_descriptors/ca"},
        {{0, 0, 5, 0, 1, 0}, "ISO13818-2 VIDEO", tables + "/pmts/0/streams/0"},
        {{0, 0, 6, 3}, "other_transport_stream, schedule", tables + "/eit_other_schedule"},
        {{0, 0, 6, 0, 0, 0, 0, 0, 1, 0, 0, 1}, "1", event + "/descriptors/extended_event/0/items/1"},
    };
    for (const node_case& c : cases) {
        const tree_node& node = at(tree.root(), c.rows);
        ASSERT_EQ(node.text, c.label);
        EXPECT_EQ(node_json(tree, node), whole.at(json::json_pointer(c.pointer))) << c.label;
    }

    // "EIT" is the object of its collections that hold sections.
    const json& eits = whole.at(json::json_pointer(tables));
    EXPECT_EQ(node_json(tree, at(tree.root(), {0, 0, 6})),
              (json{{"eit_actual_present_following", eits.at("eit_actual_present_following")},
                    {"eit_other_schedule", eits.at("eit_other_schedule")}}));
}

}  // namespace
}  // namespace kestrel::views
