#include <gtest/gtest.h>

#include "views/pid_rules.h"
#include "views/set_tuner.h"
#include "views/tests/scan_fixture.h"

namespace kestrel::views {
namespace {

using namespace testing;

// The PIDs before the first null PID.
std::vector<std::int32_t> used(const pid_list& list) {
    return {list.begin(), std::find(list.begin(), list.end(), null_pid)};
}

TEST(PidRules, CollectSortAndCutTheStreamsOfACommand) {
    Transponder tp;
    tp.CAT.CA_descriptors = {{0x0B00, 0x1F1}, {0x0100, 0x1F0}, {0x0B00, 0x1F1}};
    encode::bytes ecms;
    for (int i = 0; i < 20; ++i)
        ecms = concat({ecms, encode::ca_descriptor(0x0B00, static_cast<std::uint16_t>(0x600 - i))});
    tp.PMTs.push_back(parse<lib13818::Pmt>(encode::pmt_section(
        {0x02, 0x11}, 0x101, ecms,
        {{0x02, 0x101, {}}, {0x03, 0x102, {}}, {0x06, 0x103, encode::ca_descriptor(0x0B00, 0x700)}})));
    tp.PMTs.push_back(parse<lib13818::Pmt>(encode::pmt_section({0x02, 0x12}, 0x121, ecms, {})));
    for (int i = 0; i < 20; ++i)
        tp.PMTs.back().CA.emplace_back(0x0B00, 0x500 + i);

    EXPECT_EQ(used(emm_pids(tp)), (std::vector<std::int32_t>{0x1F0, 0x1F1}));
    // 41 distinct ECM PIDs (0x500-0x513, 0x5ED-0x600, 0x700): the 32 lowest.
    const auto ecm = ecm_pids(tp);
    EXPECT_EQ(ecm.front(), 0x500);
    EXPECT_EQ(ecm[19], 0x513);
    EXPECT_EQ(ecm.back(), 0x5F8);
    EXPECT_EQ(used(emm_ecm_pids(tp)).size(), 32u);
    EXPECT_EQ(emm_ecm_pids(tp)[1], 0x1F1);
    EXPECT_EQ(used(ecm_pids(tp.PMTs[0])).size(), 21u);
    EXPECT_EQ(ecm_pids(tp.PMTs[0]).back(), null_pid);

    EXPECT_EQ(used(video_pids(tp.PMTs[0])), (std::vector<std::int32_t>{0x101}));
    EXPECT_EQ(used(audio_pids(tp.PMTs[0])), (std::vector<std::int32_t>{0x102}));
    EXPECT_TRUE(used(private_pids(tp.PMTs[0])).empty());
}

TEST(SetTuner, TakesTheDescriptorsTuningOverASuccessfulDvbSReadBack) {
    lib13818::DescriptorSatelliteDeliverySystem delivery;
    delivery.frequency = 11.778;
    delivery.polarization = 1;
    delivery.FEC_inner = 3;
    delivery.symbol_rate = 27.5;
    const TUNERPARM read_back{1, 12.322, 0, -1, 27800, 2, 1, 0};

    const auto tuning = std::get<TUNERPARM>(tuning_from(delivery, read_back, 0));
    EXPECT_DOUBLE_EQ(tuning.frequency, 11.778);
    EXPECT_EQ(tuning.word_a, 1);
    EXPECT_EQ(tuning.word_b, 3);
    EXPECT_EQ(tuning.word_c, 27500u);
    EXPECT_EQ(tuning.word_d, 2u);
    EXPECT_EQ(tuning.delivery.system, lib13818::DeliverySystem::dvb_s);
    delivery.symbol_rate = 22.0;
    delivery.modulation = 0x16;  // DVB-S2, 8PSK, roll-off 0.20
    const TUNERPARM s2 = std::get<TUNERPARM>(tuning_from(delivery, read_back, 0));
    EXPECT_EQ(s2.word_c, 22000u);
    EXPECT_EQ(s2.delivery.system, lib13818::DeliverySystem::dvb_s2);
    EXPECT_EQ(s2.delivery.roll_off, lib13818::RollOff::r0_20);

    EXPECT_TRUE(std::holds_alternative<std::string>(tuning_from(delivery, read_back, 2)));
    TUNERPARM cable = read_back;
    cable.type = 2;
    EXPECT_TRUE(std::holds_alternative<std::string>(tuning_from(delivery, cable, 0)));
}

}  // namespace
}  // namespace kestrel::views
