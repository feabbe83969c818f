#include <gtest/gtest.h>

#include "views/scan_json.h"
#include "views/tests/scan_fixture.h"
#include "views/tree_text.h"

namespace kestrel::views {
namespace {

using namespace testing;
using namespace encode;
using json = nlohmann::ordered_json;

constexpr std::int32_t onid = 0x2F00;

const bytes f474 = {0x02, 0xD3, 0x44, 0x40};
const bytes f482 = {0x02, 0xDF, 0x79, 0x40};
const bytes f490 = {0x02, 0xEB, 0xAE, 0x40};

// A NIT whose transport streams hold every delivery descriptor: 12322 MHz (BCD 01 23 22 00,
// whose decimal sum is not exactly 12.322) DVB-S2 8PSK roll-off 0.20 with its S2 companion;
// DVB-T2 with cells beside DVB-T and its frequency list; cable; C2 and S2X; the frequencies of
// two cells.
Transponder delivery_transponder() {
    Transponder tp = tuned(1);
    const bytes satellite =
        descriptor(0x43, {0x01, 0x23, 0x22, 0x00, 0x01, 0x92, 0x96, 0x02, 0x75, 0x00, 0x03});
    const bytes s2 = descriptor(0x79, {0xC3, 0xFD, 0x86, 0xA0, 0x07, 0x05});
    const bytes terrestrial = descriptor(0x5A, concat({f474, {0x1F, 0x82, 0x33, 0xFF, 0xFF, 0xFF, 0xFF}}));
    const bytes list = descriptor(0x62, concat({{0xFF}, f482, f490}));
    const bytes t2 = descriptor(
        0x7F,
        concat({{0x04, 0x01, 0x80, 0x01, 0x03, 0x55, 0x00, 0x01, 0x08}, f474, f482, {0x05, 0x01}, f490}));
    const bytes cable = descriptor(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00, 0x05});
    const bytes c2 = descriptor(0x7F, {0x0D, 0x05, 0x07, 0x1C, 0x8C, 0xF5, 0xC0, 0x41});
    const bytes cells = descriptor(0x6D, concat({{0x00, 0x01}, f474, {0x00, 0x00, 0x02}, f482, {0x00}}));
    const bytes s2x = descriptor(0x7F, {0x17, 0x0F, 0x9F, 0x01, 0x17, 0x57, 0x25, 0x01, 0x92, 0xBC, 0xF0,
                                        0x27, 0x50, 0x00, 0x09, 0x03});
    file_section(tp.nit_actual,
                 parse<lib13818::Nit>(network_section({0x40, 0x2F01}, network_name_descriptor("Demo"),
                                                      {{1, onid, concat({satellite, s2})},
                                                       {2, onid, concat({terrestrial, list, t2})},
                                                       {3, onid, cable},
                                                       {4, onid, concat({c2, s2x})},
                                                       {5, onid, cells}})));
    return tp;
}

class DescribedViews : public ::testing::Test {
  protected:
    void SetUp() override { add_transponder(networks_, onid, 1, delivery_transponder(), 0); }
    AllNetworks networks_;
};

TEST_F(DescribedViews, TreeAndValuePaneShowEveryField) {
    table_tree tree(networks_);
    const std::string text = tree_text(tree, true);
    const std::string stream_2 =
        text.substr(text.find("              0002\n"),
                    text.find("              0003\n") - text.find("              0002\n"));
    EXPECT_EQ(stream_2,
              "              0002\n"
              "                | TRANSPORT_STREAM_ID = 0002\n"
              "                | ORIGINAL_NETWORK_ID = 2f00\n"
              "                | RESERVED_FUTURE_USE = N/A\n"
              "                | TRANSPORT_DESCRIPTORS_LENGTH = N/A\n"
              "                TERRESTRIAL_DELIVERY_SYSTEM_DESCRIPTOR\n"
              "                  | DESCRIPTOR_TAG = 5a\n"
              "                  | DESCRIPTOR_LENGTH = 11\n"
              "                  | CENTRE_FREQUENCY = 474000000 Hz\n"
              "                  | BANDWIDTH = 0 - 8 MHz\n"
              "                  | PRIORITY = 1 - HP\n"
              "                  | TIME_SLICING_INDICATOR = 1 - not used\n"
              "                  | MPE_FEC_INDICATOR = 1 - not used\n"
              "                  | CONSTELLATION = 2 - 64-QAM\n"
              "                  | HIERARCHY_INFORMATION = 0 - non-hierarchical, native interleaver\n"
              "                  | CODE_RATE_HP_STREAM = 2 - 3/4\n"
              "                  | CODE_RATE_LP_STREAM = 1 - 2/3\n"
              "                  | GUARD_INTERVAL = 2 - 1/8\n"
              "                  | TRANSMISSION_MODE = 1 - 8k\n"
              "                  | OTHER_FREQUENCY_FLAG = 1\n"
              "                FREQUENCY_LIST_DESCRIPTOR\n"
              "                  | DESCRIPTOR_TAG = 62\n"
              "                  | DESCRIPTOR_LENGTH = 9\n"
              "                  | CODING_TYPE = 3 - terrestrial\n"
              "                  | CENTRE_FREQUENCY = 482000000 Hz\n"
              "                  | CENTRE_FREQUENCY = 490000000 Hz\n"
              "                T2_DELIVERY_SYSTEM_DESCRIPTOR\n"
              "                  | DESCRIPTOR_TAG = 7f\n"
              "                  | DESCRIPTOR_LENGTH = 23\n"
              "                  | DESCRIPTOR_TAG_EXTENSION = 04\n"
              "                  | PLP_ID = 1\n"
              "                  | T2_SYSTEM_ID = 8001\n"
              "                  | SISO_MISO = 0 - SISO\n"
              "                  | BANDWIDTH = 0 - 8 MHz\n"
              "                  | GUARD_INTERVAL = 2 - 1/8\n"
              "                  | TRANSMISSION_MODE = 5 - 32k\n"
              "                  | OTHER_FREQUENCY_FLAG = 0\n"
              "                  | TFS_FLAG = 1\n"
              "                  CELL\n"
              "                    | CELL_ID = 0001\n"
              "                    | FREQUENCY_LOOP_LENGTH = 8\n"
              "                    | CENTRE_FREQUENCY = 474000000 Hz\n"
              "                    | CENTRE_FREQUENCY = 482000000 Hz\n"
              "                    | SUBCELL_INFO_LOOP_LENGTH = 5\n"
              "                    SUBCELL\n"
              "                      | CELL_ID_EXTENSION = 1\n"
              "                      | TRANSPOSER_FREQUENCY = 490000000 Hz\n");
    EXPECT_NE(text.find("| FEC_INNER = 3 - 3/4\n"
                        "                  | ROLL_OFF = 2 - 0.20\n"
                        "                  | MODULATION_SYSTEM = 1 - DVB-S2\n"
                        "                  | MODULATION_TYPE = 2 - 8PSK\n"
                        "                S2_SATELLITE_DELIVERY_SYSTEM_DESCRIPTOR\n"),
              std::string::npos)
        << text;
    for (const char* node : {"NETWORK_NAME_DESCRIPTOR\n", "CABLE_DELIVERY_SYSTEM_DESCRIPTOR\n",
                             "C2_DELIVERY_SYSTEM_DESCRIPTOR\n", "S2X_SATELLITE_DELIVERY_SYSTEM_DESCRIPTOR\n"})
        EXPECT_NE(text.find(node), std::string::npos) << node;
}

TEST_F(DescribedViews, SeveralLoopEntriesShowUnderTheLoopsName) {
    table_tree tree(networks_);
    const std::string text = tree_text(tree, false);
    EXPECT_NE(text.find("CELL_FREQUENCY_LINK_DESCRIPTOR\n"
                        "                  CELLS\n"
                        "                    0\n"),
              std::string::npos)
        << text;
}

TEST_F(DescribedViews, JsonKeysCarryTheStandardsNamesAndUnits) {
    const json all = scan_json(networks_);
    const json& tp = all.at("networks").at(0).at("transponders").at(0);
    const json& nit = tp.at("tables").at("nit_actual").at(0);
    EXPECT_EQ(nit.at("descriptors").at("network_name").at(0).at("network_name"), "Demo");
    const json& streams = nit.at("transport_streams");
    auto descriptors = [&](std::size_t i, const char* key) {
        return streams.at(i).at("descriptors").at(key).at(0);
    };

    const json satellite = descriptors(0, "satellite_delivery_system");
    EXPECT_EQ(satellite.at("frequency_khz"), 12322000);
    EXPECT_EQ(satellite.at("roll_off_name"), "0.20");
    EXPECT_EQ(satellite.at("modulation_system"), 1);
    EXPECT_EQ(satellite.at("modulation_type_name"), "8PSK");
    // The doubles read as the values meant.
    EXPECT_NE(all.dump().find("\"frequency_ghz\":12.322,"), std::string::npos);
    EXPECT_NE(all.dump().find("\"orbital_position\":19.2,"), std::string::npos);
    const json s2 = descriptors(0, "s2_satellite_delivery_system");
    EXPECT_EQ(s2.at("scrambling_sequence_index"), 100000);
    EXPECT_EQ(s2.at("input_stream_identifier"), 7);
    EXPECT_EQ(s2.at("ts_gs_mode_name"), "transport stream");

    const json terrestrial = descriptors(1, "terrestrial_delivery_system");
    EXPECT_EQ(terrestrial.at("frequency_hz"), 474000000);
    EXPECT_EQ(terrestrial.at("code_rate_hp_stream"), 2);
    EXPECT_EQ(terrestrial.at("code_rate_lp_stream_name"), "2/3");
    EXPECT_EQ(terrestrial.at("other_frequency_flag"), 1);
    EXPECT_EQ(descriptors(1, "frequency_list").at("frequencies_hz"), json::parse("[482000000, 490000000]"));
    const json t2 = descriptors(1, "t2_delivery_system");
    EXPECT_EQ(t2.at("t2_system_id"), 0x8001);
    EXPECT_EQ(t2.at("cells"), json::parse(R"([{"cell_id": 1, "frequencies_hz": [474000000, 482000000],
        "subcells": [{"cell_id_extension": 1, "transposer_frequency_hz": 490000000}]}])"));

    const json cable = descriptors(2, "cable_delivery_system");
    EXPECT_EQ(cable.at("frequency_hz"), 346000000);
    EXPECT_EQ(cable.at("symbol_rate_sps"), 6900000);
    EXPECT_EQ(cable.at("modulation_name"), "64-QAM");
    EXPECT_EQ(descriptors(3, "c2_delivery_system").at("c2_system_tuning_frequency_hz"), 479000000);
    const json s2x = descriptors(3, "s2x_satellite_delivery_system");
    EXPECT_EQ(s2x.at("frequency_khz"), 11757250);
    EXPECT_EQ(s2x.at("orbital_position"), 19.2);
    EXPECT_EQ(s2x.at("roll_off_name"), "0.15");
}

}  // namespace
}  // namespace kestrel::views
