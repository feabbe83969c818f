#include <gtest/gtest.h>

#include <sstream>

#include "channels/dvbv5_writer.h"
#include "channels/tests/list_readers.h"
#include "channels/vdr_writer.h"

namespace kestrel::channels {
namespace {

using lib13818::DeliverySystem;

channel_entry satellite_entry() {
    channel_entry e;
    e.name = "News: Today, [HD]\nLate";
    e.provider = "Kestrel; Sat";
    e.service_id = 0x10;
    e.original_network_id = 0x85;
    e.transport_stream_id = 7;
    e.pcr_pid = 0x1FF;
    e.video = stream_pid{0x200, 0x1B, "", 0};
    e.audio = {{0x201, 0x03, "deu+eng", 0}, {0x202, 0x06, "eng", 0x6A}};
    e.teletext = stream_pid{0x203, 0x06, "deu", 0};
    e.subtitles = {{0x204, 0x06, "fra", 0}};
    e.ca_system_ids = {0x1702, 0x0B00};
    e.logical_channel = 12;
    channel_tuning& t = e.tuning;
    t.system = DeliverySystem::dvb_s2;
    t.frequency_khz = 11777500;
    t.polarisation = 1;
    t.symbol_rate = 27500000;
    t.delivery = {.system = DeliverySystem::dvb_s2,
                  .modulation = lib13818::Modulation::psk_8,
                  .roll_off = lib13818::RollOff::r0_20,
                  .stream_id = 2,
                  .code_rate_hp = lib13818::CodeRate::r2_3};
    t.orbital_tenths = -50;
    t.diseqc_position = 1;
    return e;
}

channel_entry t2_entry() {
    channel_entry e;
    e.name = "Radio";
    e.provider = "<service not in sdt>";
    e.service_id = 0x201;
    e.original_network_id = 0x2F00;
    e.transport_stream_id = 18;
    e.audio = {{0x301, 0x04, "", 0}};
    e.tuning.system = DeliverySystem::dvb_t2;
    e.tuning.frequency_khz = 578000;
    e.tuning.delivery = {.system = DeliverySystem::dvb_t2,
                         .modulation = lib13818::Modulation::qam_256,
                         .stream_id = 0,
                         .bandwidth_hz = 8000000,
                         .guard_interval = lib13818::GuardInterval::g19_256,
                         .transmission_mode = lib13818::TransmissionMode::m32k};
    return e;
}

channel_entry cable_entry() {
    channel_entry e;
    e.name = "Cable One";
    e.service_id = 0x301;
    e.original_network_id = 0x2F04;
    e.transport_stream_id = 33;
    e.video = stream_pid{0x100, 0x02, "", 0};
    e.pcr_pid = 0x100;
    e.tuning.system = DeliverySystem::dvb_c;
    e.tuning.frequency_khz = 346000;
    e.tuning.symbol_rate = 6900000;
    e.tuning.delivery = {.system = DeliverySystem::dvb_c,
                         .modulation = lib13818::Modulation::qam_256,
                         .code_rate_hp = lib13818::CodeRate::none};
    return e;
}

struct dvbv5_case {
    channel_entry entry;
    lnb_oscillators lnb;
    std::map<std::string, std::string> expected;
    std::vector<std::string> absent;
};

TEST(Dvbv5Writer, WritesEachSystemsTuningInTheFormatsWords) {
    const dvbv5_case cases[] = {
        {satellite_entry(),
         {},
         {{"SERVICE_ID", "16"},
          {"NETWORK_ID", "133"},
          {"TRANSPORT_ID", "7"},
          {"VCHANNEL", "12"},
          {"VIDEO_PID", "512"},
          {"AUDIO_PID", "513 514"},
          {"PID_06", "515 516"},
          {"DELIVERY_SYSTEM", "DVBS2"},
          {"FREQUENCY", "11777500"},
          {"POLARIZATION", "VERTICAL"},
          {"SYMBOL_RATE", "27500000"},
          {"INNER_FEC", "2/3"},
          {"MODULATION", "PSK/8"},
          {"ROLLOFF", "20"},
          {"PILOT", "AUTO"},
          {"STREAM_ID", "2"},
          {"LNB", "EXTENDED"},
          {"SAT_NUMBER", "1"}},
         {"BANDWIDTH_HZ", "GUARD_INTERVAL"}},
        {satellite_entry(), {10750000, 10750000, 0}, {{"LNB", "10750,10750,0"}}, {}},
        {t2_entry(),
         {},
         {{"DELIVERY_SYSTEM", "DVBT2"},
          {"FREQUENCY", "578000000"},
          {"BANDWIDTH_HZ", "8000000"},
          {"MODULATION", "QAM/256"},
          {"GUARD_INTERVAL", "19/256"},
          {"TRANSMISSION_MODE", "32K"},
          {"CODE_RATE_HP", "AUTO"},
          {"HIERARCHY", "AUTO"},
          {"STREAM_ID", "0"},
          {"AUDIO_PID", "769"}},
         {"VIDEO_PID", "VCHANNEL", "LNB", "POLARIZATION", "SYMBOL_RATE"}},
        {cable_entry(),
         {},
         {{"DELIVERY_SYSTEM", "DVBC/ANNEX_A"},
          {"FREQUENCY", "346000000"},
          {"SYMBOL_RATE", "6900000"},
          {"MODULATION", "QAM/256"},
          {"INNER_FEC", "NONE"}},
         {"STREAM_ID", "AUDIO_PID", "SAT_NUMBER"}},
    };
    for (const dvbv5_case& c : cases) {
        std::ostringstream out;
        write_dvbv5(out, std::span(&c.entry, 1), c.lnb);
        std::string fault;
        const auto blocks = testing::read_dvbv5(out.str(), fault);
        ASSERT_EQ(fault, "") << out.str();
        ASSERT_EQ(blocks.size(), 1u) << out.str();
        for (const auto& [key, value] : blocks[0].keys)
            EXPECT_TRUE(testing::is_dvbv5_key(key)) << key;
        for (const auto& [key, value] : c.expected)
            EXPECT_EQ(blocks[0].keys.count(key) ? blocks[0].keys.at(key) : "(absent)", value) << key;
        for (const std::string& key : c.absent)
            EXPECT_EQ(blocks[0].keys.count(key), 0u) << key;
    }
    std::ostringstream out;
    const channel_entry named = satellite_entry();
    write_dvbv5(out, std::span(&named, 1), {});
    EXPECT_TRUE(out.str().starts_with("[News: Today,  HD  Late]\n")) << out.str();
}

TEST(VdrWriter, WritesThirteenFieldsWithEachSystemsParameters) {
    const channel_entry entries[] = {satellite_entry(), t2_entry(), cable_entry()};
    std::ostringstream out;
    write_vdr(out, entries);
    std::istringstream lines(out.str());
    const std::vector<std::vector<std::string>> expected = {
        {"News| Today. [HD] Late;Kestrel. Sat", "11778", "VC23M5O20P2S1", "S5.0W", "27500", "512+511=27",
         "513=deu+eng@3;514=eng@106", "515;516=fra", "1702,B00", "16", "133", "7", "0"},
        {"Radio;<service not in sdt>", "578000", "B8C999D999G19256M256T32Y999P0S1", "T", "0", "0", "769@4",
         "0", "0", "513", "12032", "18", "0"},
        {"Cable One;", "346000", "C0M256S0", "C", "6900", "256=2", "0", "0", "0", "769", "12036", "33", "0"},
    };
    for (const std::vector<std::string>& fields : expected) {
        std::string line;
        ASSERT_TRUE(std::getline(lines, line));
        EXPECT_EQ(testing::vdr_fields(line), fields) << line;
    }
    std::string rest;
    EXPECT_FALSE(std::getline(lines, rest));

    // Without an orbital position a satellite line cannot be written, and nothing is.
    channel_entry unplaced = satellite_entry();
    unplaced.tuning.orbital_tenths.reset();
    std::ostringstream refused;
    EXPECT_THROW(write_vdr(refused, std::span(&unplaced, 1)), channel_list_error);
    EXPECT_EQ(refused.str(), "");
}

}  // namespace
}  // namespace kestrel::channels
