#include "device/tests/event_capture.h"
#include "scan/tests/scan_fixture.h"
#include "settings/keys.h"

namespace kestrel::testing {
namespace {

TEST_F(ScanTest, CurrentNitTunesEveryStreamAtThePositionInForceAndRestoresTheTuner) {
    open(demo_file("demo.manifest"), 11.954, 0, 27500, 1);
    const ChannelRecord before = device->current_channel();
    EXPECT_EQ(scan(1, table_selection(table_pat)), 1);
    // The second satellite's streams lock only at position 1.
    const Network& network = networks.at(0x2F00);
    EXPECT_EQ(network.transponders.size(), 2u);
    EXPECT_EQ(network.transponders.count(4) + network.transponders.count(5), 2u);
    EXPECT_EQ(network.diseqc_position, 1);
    EXPECT_EQ(traced("2 transponders in NIT section"), 1);
    EXPECT_EQ(traced("tuner restored"), 1);
    // Put back as read back: the same words, and now naming the system the card delivered.
    EXPECT_EQ(device->current_channel().word, before.word);
    EXPECT_EQ(device->current_channel().delivery.system, lib13818::DeliverySystem::dvb_s);
    EXPECT_EQ(progress.exits, std::vector<int>{1});
}

TEST_F(ScanTest, ConfiguredSatellitesReadTheNitOfEveryRecordThatTunes) {
    // The first demo satellite's three streams, here behind position 1, and a fourth
    // record that does not lock.
    std::string manifest = "frontend dvb-s\n";
    for (const char* line : {"12322000 H 27800000 sat-a-12322-h.ts", "11778000 V 27500000 sat-a-11778-v.ts",
                             "12603000 H 22000000 sat-a-12603-h.ts"})
        manifest += "1 " + std::string(line).insert(std::string(line).rfind(' ') + 1, demo_file("")) + "\n";
    // The event log starts before the card's delivery thread, which logs without a lock.
    const event_capture events;
    open(write_file("test.manifest", {manifest.begin(), manifest.end()}), 12.322, 0, 27800, 1);
    for (const char* line : {"\"Test Sat\",235,12322,0,27800,3", "\"Test Sat\",235,11778,1,27500,7",
                             "\"Test Sat\",235,10714,0,22000,3", "\"Test Sat\",235,12603,0,22000,3"})
        satellites.parse_line(line);
    settings::write(settings, settings::lnb_satellite[1], "Test Sat");

    EXPECT_EQ(scan(2, table_selection(table_pat)), 1);
    EXPECT_EQ(traced("1 NIT sections"), 3);
    EXPECT_EQ(traced("failed setting tuner : 2 - NIT not read"), 1);
    EXPECT_TRUE(events.has("dvb_device_techotrend::set_tuner(11.778000,1,15,27500000)")) << events.all();
    const Network& network = networks.at(0x2F00);
    EXPECT_EQ(network.transponders.size(), 3u);
    EXPECT_EQ(network.diseqc_position, 1);
    EXPECT_EQ(traced("tuner restored"), 4);  // after each of the three walks and at the end
}

TEST_F(ScanTest, ConfiguredSatellitesTryAStartTransponderThatDoesNotLockAsDvbS2) {
    const std::string manifest = "0 12322000 H 27800000 " + demo_file("sat-a-12322-h.ts") +
                                 "\n0 11778000 V 27500000 system=dvb-s2 " + demo_file("sat-a-11778-v.ts") +
                                 "\n";
    open(write_file("s2.manifest", {manifest.begin(), manifest.end()}), 12.322, 0, 27800);
    satellites.parse_line("\"S2 Sat\",235,11778,1,27500,3");
    settings::write(settings, settings::lnb_satellite[0], "S2 Sat");
    EXPECT_EQ(scan(2, table_selection(table_pat)), 1);
    EXPECT_EQ(traced("not locked as DVB-S - trying DVB-S2"), 1);
    EXPECT_EQ(traced("1 NIT sections"), 1);  // the DVB-S2 transponder's NIT, walked
    EXPECT_EQ(networks.at(0x2F00).transponders.count(1), 1u);
}

TEST_F(ScanTest, ConfiguredSatellitesScanTheWholeDemoNetwork) {
    open(demo_file("demo.manifest"), 12.322, 0, 27800);
    satellites.ParseList(std::string(KESTREL_DATA_DIR) + "/satellitecfg.txt");
    settings::write(settings, settings::lnb_satellite[0], "Kestrel Sat A");
    settings::write(settings, settings::lnb_satellite[1], "Kestrel Sat B");
    EXPECT_EQ(scan(2, table_selection(settings)), 1);
    const Network& network = networks.at(0x2F00);
    EXPECT_EQ(network.transponders.size(), 5u);
    EXPECT_EQ(network.transponders.at(5).label(), "0005 - 12207V 3/4 27500");
    EXPECT_EQ(network.transponders.at(5).PMTs.size(), 2u);
}

TEST_F(ScanTest, CurrentNitWithoutNitSaysSo) {
    const std::string capture = std::string(KESTREL_SHARED_DIR) + "/captures/test-025.ts";
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "no " << capture;
    open(capture, 11.778, 1, 27500);
    EXPECT_EQ(scan(1, table_selection(settings)), -1);
    EXPECT_EQ(progress.messages, std::vector<std::string>{"Failed to read NIT"});
    EXPECT_EQ(progress.exits, std::vector<int>{-1});
    EXPECT_TRUE(networks.empty());
}

}  // namespace
}  // namespace kestrel::testing
