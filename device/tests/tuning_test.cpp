#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "device/tests/event_capture.h"

namespace kestrel {
namespace {

using testing::event_capture;
using testing::fake_card;
using calls = std::vector<std::string>;

constexpr LnbConfig committed_switch{diseqc_mode::committed, 9750000, 10600000, 11700000, true};

struct Tuning : ::testing::Test {
    fake_card* card = nullptr;
    std::unique_ptr<dvb_device_techotrend> device;
    event_capture log;

    void start(std::int32_t type = frontend_dvb_s, std::uint32_t capabilities = 0) {
        auto owned = std::make_unique<fake_card>();
        card = owned.get();
        card->set().frontend_type = type;
        card->set().capabilities = capabilities;
        device = std::make_unique<dvb_device_techotrend>(std::move(owned));
        ASSERT_EQ(device->init(), result::ok);
        device->set_lnb_config(committed_switch);
        card->clear_calls();
    }
    void mode(std::uint32_t m, bool power = true) {
        LnbConfig lnb = committed_switch;
        lnb.diseqc_mode = m;
        lnb.lnb_power = power;
        device->set_lnb_config(lnb);
    }
    std::uint32_t word(std::size_t i) { return card->channel().word[i]; }
};

TEST_F(Tuning, CommittedSwitchSendsThreeTimesThenTunesAndWaits) {
    start();
    EXPECT_EQ(device->set_tuner(12.322, 1, 0, 27500000, 2), result::ok);
    EXPECT_EQ(card->calls(),
              (calls{"diseqc E0 10 38 F9 burst FF", "sleep 120", "diseqc E1 10 38 F9 burst FF", "sleep 120",
                     "diseqc E1 10 38 F9 burst FF", "sleep 120", "sleep 20", "set_channel", "sleep 750"}));
    EXPECT_EQ(card->channel(), (ChannelRecord{{12322000, 2, 27500000, 10600000, 1, 13, 0}}));
    EXPECT_TRUE(log.has("dvb_device_techotrend::set_tuner(12.322000,1,0,27500000)", 1)) << log.all();
    EXPECT_TRUE(log.has("LOF=10600000", 1));
    EXPECT_TRUE(log.has("_pol=1 f22=1", 1));
    EXPECT_TRUE(log.has("freq=12322000 SR=27500000", 1));
    EXPECT_TRUE(log.has("returning ERR_OK", 1));

    card->clear_calls();
    EXPECT_EQ(device->set_tuner(12.322, 0, 0, 27500000, 1), result::ok);
    EXPECT_EQ(card->calls()[0], "diseqc E0 10 38 F7 burst FF");
}

TEST_F(Tuning, BandEdgeAndPolarisations) {
    start();
    mode(diseqc_mode::none);
    // Exactly the switch frequency is high band.
    device->set_tuner(11.7, 0, 0, 27500000, 0);
    EXPECT_EQ(word(3), 10600000u);
    EXPECT_EQ(word(4), 1u);
    EXPECT_EQ(card->calls()[0], "diseqc E0 00 00 burst FF");
    device->set_tuner(11.699999, 0, 0, 27500000, 0);
    EXPECT_EQ(word(3), 9750000u);
    EXPECT_EQ(word(4), 0u);
    // Circular left is powered and signalled as horizontal, right as vertical.
    mode(diseqc_mode::committed);
    card->clear_calls();
    device->set_tuner(12.0, 2, 0, 27500000, 0);
    EXPECT_EQ(word(5), 18u);
    EXPECT_EQ(card->calls()[0], "diseqc E0 10 38 F3 burst FF");
    card->clear_calls();
    device->set_tuner(12.0, 3, 0, 27500000, 0);
    EXPECT_EQ(word(5), 13u);
    EXPECT_EQ(card->calls()[0], "diseqc E0 10 38 F1 burst FF");
}

TEST_F(Tuning, LnbPowerOffGivesNoVoltageButKeepsThePolarisationBit) {
    start();
    mode(diseqc_mode::committed, false);
    device->set_tuner(12.0, 0, 0, 27500000, 0);
    EXPECT_EQ(word(5), 0u);
    EXPECT_EQ(card->calls()[0], "diseqc E0 10 38 F3 burst FF");
}

TEST_F(Tuning, ToneBurstAndPositionLimits) {
    start();
    mode(diseqc_mode::tone_burst);
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::ok);
    EXPECT_EQ(card->calls()[0], "diseqc burst 00");
    card->clear_calls();
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 1), result::ok);
    EXPECT_EQ(card->calls()[0], "diseqc burst 01");
    card->clear_calls();
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 2), result::burst_position);
    EXPECT_TRUE(card->calls().empty());
    for (std::uint32_t m : {diseqc_mode::none, diseqc_mode::tone_burst, diseqc_mode::committed}) {
        mode(m);
        EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 4), result::failed) << m;
    }
    mode(5);
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::mismatch);
    EXPECT_TRUE(card->calls().empty());
}

TEST_F(Tuning, FailuresGiveTwoWithTheirMessages) {
    start();
    card->set().state = {false, 0, 0.0};
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Not locked", 1));
    card->set().state_error = 7;
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Error getting locked state: 7", 1));
    card->set().set_channel = 9;
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Error set channel: 9", 1));
    card->clear_calls();
    EXPECT_EQ(device->set_tuner(5000.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_EQ(device->set_tuner(-1.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Frequency out of range: 5000.000000", 1));
    EXPECT_TRUE(card->calls().empty());
}

TEST_F(Tuning, ReadBackGivesGigahertzAndKilosymbols) {
    start();
    device->set_tuner(11.778, 1, 3, 27800000, 2);
    double f = 0;
    int pol = 0, fec = 0;
    unsigned long sr = 0, pos = 0;
    ASSERT_EQ(device->get_tuner(f, pol, fec, sr, pos), result::ok);
    EXPECT_NEAR(f, 11.778, 1e-9);
    EXPECT_EQ(pol, 1);
    EXPECT_EQ(fec, -1);
    EXPECT_EQ(sr, 27800u);
    EXPECT_EQ(pos, 2u);
    // Fed back (symbol rate times 1000) it tunes the same channel.
    const ChannelRecord first = card->channel();
    device->set_tuner(f, pol, fec, sr * 1000, pos);
    EXPECT_EQ(card->channel(), first);
    mode(diseqc_mode::none, false);
    device->set_tuner(11.778, 0, 3, 27800000, 0);
    device->get_tuner(f, pol, fec, sr, pos);
    EXPECT_EQ(pol, 1);  // 0 V reads back as vertical
    card->set().get_channel = 3;
    EXPECT_EQ(device->get_tuner(f, pol, fec, sr, pos), result::failed);
    EXPECT_TRUE(log.has("Error getting channel: 3", 1));
}

TEST_F(Tuning, TypeMismatchIsRefused) {
    start();
    TUNERPARM cable;
    cable.type = 2;
    EXPECT_EQ(device->set_tuner(cable), result::mismatch);
    EXPECT_TRUE(log.has("tuner type mismatch: frontend=1 tp=2", 1));
}

TEST_F(Tuning, CableModulationBandwidthAndInversion) {
    start(frontend_dvb_c);
    TUNERPARM t;
    t.type = 2;
    t.frequency = 346.0;
    t.word_a = 1;
    t.word_b = 6900000;
    t.word_d = 1;
    for (std::uint32_t m : {0u, 6u}) {
        t.word_c = m;
        ASSERT_EQ(device->set_tuner(t), result::ok);
        EXPECT_EQ(word(3), 2u) << m;
    }
    t.word_c = 5;
    device->set_tuner(t);
    EXPECT_EQ(card->channel(), (ChannelRecord{{346000, 1, 6900000, 4, 1, 0, 0}}));
    EXPECT_TRUE(log.has("Setting DVB-C freq=346000 sr=6900000 QAM=4 si=1 bw=1", 2)) << log.all();
    EXPECT_TRUE(log.has("Frontend returned 0", 2));
    // 7 MHz, 8 MHz and automatic pass through; 0 means 7 MHz.
    for (auto [field, code] : {std::pair{1u, 1u}, {2u, 2u}, {3u, 3u}, {0u, 1u}}) {
        t.word_d = field;
        device->set_tuner(t);
        EXPECT_EQ(word(4), code) << field;
    }
    TUNERPARM back;
    ASSERT_EQ(device->get_tuner(back), result::ok);
    EXPECT_EQ(back.type, 2u);
    EXPECT_DOUBLE_EQ(back.frequency, 346.0);
    EXPECT_EQ(back.word_c, 5u);
    EXPECT_EQ(back.word_d, 1u);
    card->set().set_channel = 4;
    EXPECT_EQ(device->set_tuner(t), result::failed);
    EXPECT_TRUE(log.has("Frontend returned 4", 2));
}

TEST_F(Tuning, TerrestrialUsesTheFrontendsAutomaticModes) {
    start(frontend_dvb_t, capability::auto_inversion | capability::auto_bandwidth);
    TUNERPARM t;
    t.type = 3;
    t.frequency = 506.0;
    t.word_c = 1;
    ASSERT_EQ(device->set_tuner(t), result::ok);
    EXPECT_EQ(card->channel(), (ChannelRecord{{506000, 2, 0, 3, 0, 0, 0}}));
    EXPECT_TRUE(log.has("Setting DVB-T freq=506000 si=2 bw=3", 2));
    // A frontend with one bandwidth only gets that one.
    start(frontend_dvb_t);
    card->set().bandwidth_first = card->set().bandwidth_second = 2;
    device->set_tuner(t);
    EXPECT_EQ(word(3), 2u);
}

TEST_F(Tuning, TheDeliveryRecordReachesTheCardForEveryTypeAndComesBack) {
    lib13818::Delivery delivery;
    delivery.system = lib13818::DeliverySystem::dvb_t2;
    delivery.stream_id = 3;
    for (const std::int32_t type : {frontend_dvb_s, frontend_dvb_c, frontend_dvb_t}) {
        start(type);
        TUNERPARM t{static_cast<std::uint32_t>(type),
                    type == frontend_dvb_s ? 12.322 : 474.0,
                    0,
                    6900000,
                    1,
                    0,
                    0,
                    0,
                    delivery};
        ASSERT_EQ(device->set_tuner(t), result::ok);
        EXPECT_EQ(card->channel().delivery, delivery);
        EXPECT_TRUE(log.has("delivery system=DVB-T2 stream=3", type == frontend_dvb_s ? 1 : 2)) << log.all();
        TUNERPARM back;
        ASSERT_EQ(device->get_tuner(back), result::ok);
        EXPECT_EQ(back.delivery, delivery);
    }
    // The seed's DVB-S call names no delivery.
    start(frontend_dvb_s);
    device->set_tuner(12.322, 0, 0, 27500000, 0);
    EXPECT_EQ(card->channel().delivery, lib13818::Delivery{});
    EXPECT_TRUE(log.has("delivery system=auto stream=-1", 1));
}

}  // namespace
}  // namespace kestrel
