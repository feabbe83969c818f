#include <gtest/gtest.h>

#include "views/tests/scan_fixture.h"
#include "views/tree_search.h"

namespace kestrel::views {
namespace {

using namespace testing;

std::vector<std::string> labels(const std::vector<const tree_node*>& nodes) {
    std::vector<std::string> out;
    for (const tree_node* node : nodes)
        out.push_back(node->text);
    return out;
}

struct search_case {
    const char* query;
    std::vector<std::string> matches;  // labels in display order
};

TEST(TreeSearch, MatchesLabelsValuesAndHexadecimalIdentifiersInDisplayOrder) {
    AllNetworks networks;
    add_transponder(networks, onid, 1, full_transponder(), 0);
    table_tree tree(networks);
    tree_search search(tree);
    const search_case cases[] = {
        // a service name: the SDT's service descriptor (a row value), the PMT program and
        // the EIT service (labels), each node once and without regard to case
        {"kestrel ONE", {"SERVICE_DESCRIPTOR", "0011 - Kestrel One", "SID 0011 - Kestrel One"}},
        // a PID only a CA descriptor's PID row holds
        {"0x104", {"0"}},
        // service 0x11 wherever an identifier row holds it: the service list entry, the SDT
        // service, the PMT's program number, the EIT section's service_id
        {"0X0011", {"0", "0011", "0011 - Kestrel One", "0000"}},
        {" 11 ", {"0", "0011", "0011 - Kestrel One", "0000"}},
        {"", {}},
        {"no such text", {}},
    };
    for (const search_case& c : cases)
        EXPECT_EQ(labels(search.find(c.query)), c.matches) << c.query;
}

// From a node that is no match (the window's tests step from matches): the nearest match
// on either side.
TEST(TreeSearch, StepsFromANodeBetweenMatches) {
    AllNetworks networks;
    add_transponder(networks, onid, 1, full_transponder(), 0);
    table_tree tree(networks);
    tree_search search(tree);
    const std::vector<const tree_node*> m = search.find("Kestrel One");
    ASSERT_EQ(m.size(), 3u);
    const tree_node& pat = *tree.root().children[0]->children[0]->children.at(4);
    ASSERT_EQ(pat.text, "PAT");  // between the SDT's match and the PMT's
    EXPECT_EQ(search.step(&pat, false), m[1]);
    EXPECT_EQ(search.step(&pat, true), m[0]);
    EXPECT_EQ(search.position(pat), std::nullopt);

    search.find("nothing matches this");
    EXPECT_EQ(search.step(&pat, false), nullptr);
}

}  // namespace
}  // namespace kestrel::views
