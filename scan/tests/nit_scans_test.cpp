#include <tuple>

#include "device/tests/event_capture.h"
#include "scan/tests/scan_fixture.h"
#include "settings/keys.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::testing {
namespace {

constexpr std::uint16_t own_network = 0x3000;

// A transport stream of a satellite network of the test's own: its PAT, its SDT, and the
// NIT every stream of the network carries.
std::vector<ts::carousel> own_stream(std::uint16_t tsid, const encode::bytes& nit) {
    return {{0x00, {encode::pat_section({0x00, tsid}, {{0, 0x10}})}, 100},
            {0x10, {nit}, 100},
            {0x11, {encode::sdt_section({0x42, tsid}, own_network, {})}, 100}};
}

// The NIT listing (tsid, frequency kHz, polarisation 0 H / 1 V) of the network.
encode::bytes own_nit(const std::vector<std::tuple<std::uint16_t, std::uint32_t, std::uint8_t>>& streams) {
    std::vector<encode::transport_stream_entry> entries;
    for (const auto& [tsid, khz, polarisation] : streams) {
        encode::satellite_delivery d;
        d.frequency_khz = khz;
        d.polarization = polarisation;
        d.symbol_rate = 27500000;
        entries.push_back({tsid, own_network, encode::satellite_delivery_system_descriptor(d)});
    }
    return encode::network_section({0x40, own_network}, encode::network_name_descriptor("Own"), entries);
}

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
    EXPECT_EQ(network.transponders.size(), 8u);
    EXPECT_EQ(network.transponders.at(5).label(), "0005 - 12207V 3/4 27500");
    EXPECT_EQ(network.transponders.at(5).PMTs.size(), 2u);
}

TEST_F(ScanTest, CurrentNitWalksDvbS2AndEachInputStreamOnceAndRestores) {
    open(demo_file("demo.manifest"), 12.322, 0, 27800, 0);
    const ChannelRecord before = device->current_channel();
    EXPECT_EQ(scan(1, table_selection(table_pat)), 1);
    const auto& streams = networks.at(0x2F00).transponders;
    EXPECT_EQ(streams.size(), 6u);
    EXPECT_EQ(streams.at(1).label(), "0001 - 12322H 3/4 27800");
    EXPECT_EQ(streams.at(6).label(), "0006 - 11836H 2/3 30000 S2 8PSK");
    EXPECT_EQ(streams.at(7).label(), "0007 - 12188V 2/3 27500 S2 8PSK ISI 1");
    EXPECT_EQ(streams.at(8).label(), "0008 - 12188V 2/3 27500 S2 8PSK ISI 2");
    for (const char* tuning :
         {"tuning DVB-S 12322.000 MHz H position 0", "tuning DVB-S2 11836.000 MHz H position 0",
          "tuning DVB-S2 12188.000 MHz V ISI 1 position 0", "tuning DVB-S2 12188.000 MHz V ISI 2 position 0"})
        EXPECT_EQ(traced(tuning), 1) << tuning;
    EXPECT_EQ(traced("tuner restored"), 1);
    EXPECT_EQ(device->current_channel().word, before.word);
    EXPECT_EQ(device->current_channel().delivery.system, lib13818::DeliverySystem::dvb_s);
}

TEST_F(ScanTest, CurrentNitKeepsSameFrequencyHorizontalAndVerticalApart) {
    const encode::bytes nit = own_nit({{1, 11000000, 0}, {2, 11000000, 1}, {3, 11001000, 0}});
    std::string manifest;
    for (const auto& [tsid, line] : {std::pair{1, "0 11000000 H"}, std::pair{2, "0 11000000 V"}}) {
        const std::string path = write_stream(own_stream(static_cast<std::uint16_t>(tsid), nit));
        const std::string kept = path + std::to_string(tsid) + ".ts";
        std::filesystem::rename(path, kept);
        manifest += std::string(line) + " 27500000 " + kept + "\n";
    }
    open(write_file("own.manifest", {manifest.begin(), manifest.end()}), 11.0, 1, 27500);
    EXPECT_EQ(scan(1, table_selection(table_pat)), 1);
    const auto& streams = networks.at(own_network).transponders;
    EXPECT_EQ(streams.size(), 2u);
    EXPECT_EQ(streams.count(1) + streams.count(2), 2u);
    // 11001 H is 11000 H within the lock tolerance: the same signal, not tuned again.
    EXPECT_EQ(traced("tuning DVB-S 11001.000 MHz H position 0"), 0);
    EXPECT_EQ(traced("tuning DVB-S 11000.000 MHz H position 0"), 1);
}

TEST_F(ScanTest, CurrentNitWalksTheTerrestrialAndCableNetworksAndRestores) {
    const struct {
        const char* manifest;
        double mhz;
        std::vector<std::string> labels;
    } cases[] = {
        {"demo-dvb-t.manifest",
         506,
         {"0011 - 506.000 MHz 8 MHz", "0012 - 578.000 MHz 8 MHz T2 PLP 0",
          "0013 - 578.000 MHz 8 MHz T2 PLP 1"}},
        {"demo-dvb-c.manifest",
         354,
         {"0021 - 346.000 MHz QAM256 6900", "0022 - 354.000 MHz QAM256 6900",
          "0023 - 362.000 MHz QAM256 6900"}},
    };
    for (const auto& c : cases) {
        networks.clear();
        open_ground(demo_file(c.manifest), c.mhz);
        TUNERPARM before, after;
        ASSERT_EQ(device->get_tuner(before), 0u);
        EXPECT_EQ(scan(1, table_selection(table_pat)), 1);
        std::vector<std::string> labels;
        for (const auto& [tsid, stream] : networks.at(0x2F00).transponders)
            labels.push_back(stream.label());
        EXPECT_EQ(labels, c.labels);
        ASSERT_EQ(device->get_tuner(after), 0u);
        EXPECT_EQ(after, before) << c.manifest;
    }
    EXPECT_EQ(traced("tuner restored"), 2);
}

TEST_F(ScanTest, CurrentNitTriesTheOtherFrequenciesOfATerrestrialStream) {
    // The DVB-T multiplex is received on the second of its other frequencies only.
    std::string manifest = "frontend dvb-t\n- 514000 - 0 " + demo_file("ter-506.ts") + "\n";
    open_ground(write_file("moved.manifest", {manifest.begin(), manifest.end()}), 514);
    EXPECT_EQ(scan(1, table_selection(table_pat)), 1);
    EXPECT_EQ(traced("trying the next frequency of the transport stream"), 2);
    EXPECT_EQ(traced("tuning DVB-T 506.000 MHz"), 1);
    EXPECT_EQ(traced("tuning DVB-T 498.000 MHz"), 1);
    EXPECT_EQ(traced("failed setting tuner : 2"), 4);  // the two above, and each PLP's 578 MHz
    const auto& streams = networks.at(0x2F00).transponders;
    EXPECT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams.at(17).label(), "0011 - 514.000 MHz 8 MHz");
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
