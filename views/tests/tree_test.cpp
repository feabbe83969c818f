#include <gtest/gtest.h>

#include "lib13818/names/registry.h"
#include "views/tests/scan_fixture.h"
#include "views/tree_text.h"

namespace kestrel::views {
namespace {

using namespace testing;
using namespace encode;

TEST(TableTree, ShowsEveryTableOfATransponderInOrder) {
    lib13818::build_registries({{onid, "Kestrel \xB0 Net"}}, {});
    AllNetworks networks;
    add_transponder(networks, onid, 1, full_transponder(), 0);
    add_transponder(networks, onid, 2, tuned(2), 0);
    table_tree tree(networks);
    EXPECT_EQ(tree_text(tree, false),
              "ALL NETWORKS\n"
              "  2F00 - Kestrel \u00B0 Net\n"
              "    0001 - 11778V 3/4 27500\n"
              "      CAT\n"
              "        CA_DESCRIPTOR\n"
              "      NIT - actual network\n"
              "        NID 2F01\n"
              "          SECTION 0000\n"
              "            NETWORK_NAME_DESCRIPTOR\n"
              "            STREAM_INFO\n"
              "              0001\n"
              "                SATELLITEDELIVERYSYSTEM_DESCRIPTOR\n"
              "                SERVICELIST_DESCRIPTOR\n"
              "                  SERVICELISTSUB_DESCRIPTORS\n"
              "                    0\n"
              "                    1\n"
              "      SDT - actual transport stream\n"
              "        ORIGINAL NID 2F00\n"
              "          TID 0001\n"
              "            SECTION 0000\n"
              "              0011\n"
              "                SERVICE_DESCRIPTOR\n"
              "      SDT - other transport stream\n"
              "        ORIGINAL NID 2F00\n"
              "          TID 0002\n"
              "            SECTION 0000\n"
              "              0021\n"
              "                SERVICE_DESCRIPTOR\n"
              "      PAT\n"
              "        0000\n"
              "        0011\n"
              "        0012\n"
              "      PMT\n"
              "        0011 - Kestrel One\n"
              "          CA_DESCRIPTORS\n"
              "            0\n"
              "            1\n"
              "            2\n"
              "          STREAM_INFO\n"
              "            ISO13818-2 VIDEO\n"
              "              STREAM_IDENTIFIER_DESCRIPTOR\n"
              "            RESERVED\n"
              "            USER PRIVATE\n"
              "        0012 - <service not in SDT>\n"
              "      EIT\n"
              "        actual_transport_stream, present/following\n"
              "          NID 2F00 - Kestrel \u00B0 Net\n"
              "            TID 0001\n"
              "              SID 0011 - Kestrel One\n"
              "                0000\n"
              "                  EID 00a3\n"
              "                    SHORTEVENT_DESCRIPTOR\n"
              "                    EXTENDEDEVENT_DESCRIPTOR\n"
              "                      EXTENDEDEVENT_DESCRIPTOR_ITEMS\n"
              "                  EID 00a4\n"
              "                    EXTENDEDEVENT_DESCRIPTOR\n"
              "                      EXTENDEDEVENT_DESCRIPTOR_ITEM\n"
              "                        0\n"
              "                        1\n"
              "        other_transport_stream, present/following\n"
              "        actual_transport_stream, schedule\n"
              "        other_transport_stream, schedule\n"
              "          NID 2F00 - Kestrel \u00B0 Net\n"
              "            TID 0002\n"
              "              SID 0021 - Other Two\n"
              "                0000\n"
              "    0002 - 11778V 3/4 27500\n");
    lib13818::build_registries({}, {});
}

TEST(TableTree, NodesCarryTheirKindRecordAndMenu) {
    AllNetworks networks;
    add_transponder(networks, onid, 1, full_transponder(), 0);
    table_tree tree(networks);
    const tree_node& network = *tree.root().children.at(0);
    const tree_node& transponder = *network.children.at(0);
    const Transponder& tp = networks.at(onid).transponders.at(1);
    EXPECT_EQ(network.kind, item_kind::network);
    EXPECT_EQ(transponder.kind, item_kind::transponder);
    EXPECT_EQ(std::get<const Transponder*>(transponder.record), &tp);
    ASSERT_EQ(menu_items(transponder.menu).size(), 3u);
    EXPECT_STREQ(menu_items(transponder.menu)[0].text, "EMM Streaming ...");

    const tree_node& delivery = *transponder.children.at(1)
                                     ->children.at(0)
                                     ->children.at(0)
                                     ->children.at(1)
                                     ->children.at(0)
                                     ->children.at(0);
    EXPECT_EQ(delivery.menu, menu_kind::satellite_delivery);
    EXPECT_STREQ(menu_items(delivery.menu)[0].text, "Set tuner...");

    const tree_node& pat = *transponder.children.at(4);
    ASSERT_EQ(pat.text, "PAT");
    EXPECT_EQ(std::get<const lib13818::Pat*>(pat.children.at(2)->record), &tp.PAT);
    const tree_node& program = *transponder.children.at(5)->children.at(0);
    EXPECT_EQ(std::get<const lib13818::Pmt*>(program.record), &tp.PMTs[0]);
    EXPECT_EQ(program.menu, menu_kind::program);
    EXPECT_EQ(program.children.at(0)->kind, item_kind::none);  // the plural group
    EXPECT_EQ(program.children.at(0)->children.at(1)->parent, program.children.at(0).get());
    EXPECT_EQ(program.children.at(0)->children.at(1)->row, 1u);
    EXPECT_EQ(transponder.children.at(6)->kind, item_kind::none);  // "EIT"
}

}  // namespace
}  // namespace kestrel::views
