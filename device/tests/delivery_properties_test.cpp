#include "device/linux/delivery_properties.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <utility>
#include <vector>

#include "device/dvb_device_techotrend.h"
#include "device/linux/linux_card.h"
#include "device/testing/fake_kernel.h"
#include "device/tests/event_capture.h"

namespace kestrel {
namespace {

using namespace lib13818;
using commands = std::vector<std::uint32_t>;

// Both ways, against the numbers of linux/dvb/frontend.h written out as the API fixes them.
template <class Code>
void expect_kernel_numbers(std::initializer_list<std::pair<Code, std::uint32_t>> rows) {
    for (const auto& [value, kernel] : rows) {
        EXPECT_EQ(kernel_value(value), kernel) << name(value);
        EXPECT_EQ(record_value<Code>(kernel), value) << kernel;
    }
}

TEST(DeliveryProperties, RecordValuesAreTheKernelsNumbers) {
    expect_kernel_numbers<DeliverySystem>({{DeliverySystem::dvb_c, 1},
                                           {DeliverySystem::dvb_t, 3},
                                           {DeliverySystem::dvb_s, 5},
                                           {DeliverySystem::dvb_s2, 6},
                                           {DeliverySystem::dvb_t2, 16}});
    EXPECT_EQ(record_value<DeliverySystem>(18), DeliverySystem::dvb_c);  // annex C
    expect_kernel_numbers<Modulation>({{Modulation::qpsk, 0},
                                       {Modulation::qam_16, 1},
                                       {Modulation::qam_32, 2},
                                       {Modulation::qam_64, 3},
                                       {Modulation::qam_128, 4},
                                       {Modulation::qam_256, 5},
                                       {Modulation::automatic, 6},
                                       {Modulation::psk_8, 9},
                                       {Modulation::apsk_16, 10},
                                       {Modulation::apsk_32, 11}});
    expect_kernel_numbers<CodeRate>({{CodeRate::none, 0},
                                     {CodeRate::r1_2, 1},
                                     {CodeRate::r2_3, 2},
                                     {CodeRate::r3_4, 3},
                                     {CodeRate::r4_5, 4},
                                     {CodeRate::r5_6, 5},
                                     {CodeRate::r6_7, 6},
                                     {CodeRate::r7_8, 7},
                                     {CodeRate::r8_9, 8},
                                     {CodeRate::automatic, 9},
                                     {CodeRate::r3_5, 10},
                                     {CodeRate::r9_10, 11}});
    expect_kernel_numbers<RollOff>(
        {{RollOff::r0_35, 0}, {RollOff::r0_20, 1}, {RollOff::r0_25, 2}, {RollOff::automatic, 3}});
    expect_kernel_numbers<Pilot>({{Pilot::on, 0}, {Pilot::off, 1}, {Pilot::automatic, 2}});
    expect_kernel_numbers<TransmissionMode>({{TransmissionMode::m2k, 0},
                                             {TransmissionMode::m8k, 1},
                                             {TransmissionMode::automatic, 2},
                                             {TransmissionMode::m4k, 3},
                                             {TransmissionMode::m1k, 4},
                                             {TransmissionMode::m16k, 5},
                                             {TransmissionMode::m32k, 6}});
    expect_kernel_numbers<GuardInterval>({{GuardInterval::g1_32, 0},
                                          {GuardInterval::g1_16, 1},
                                          {GuardInterval::g1_8, 2},
                                          {GuardInterval::g1_4, 3},
                                          {GuardInterval::automatic, 4},
                                          {GuardInterval::g1_128, 5},
                                          {GuardInterval::g19_128, 6},
                                          {GuardInterval::g19_256, 7}});
    expect_kernel_numbers<Hierarchy>({{Hierarchy::none, 0},
                                      {Hierarchy::a1, 1},
                                      {Hierarchy::a2, 2},
                                      {Hierarchy::a4, 3},
                                      {Hierarchy::automatic, 4}});
}

dtv_stats stat(fecap_scale_params scale, std::int64_t value) {
    dtv_stats s{};
    s.scale = scale;
    s.svalue = value;
    return s;
}

// The device on a fake multi-standard frontend, as the virtual adapter offers it.
struct DeliveryTuning : ::testing::Test {
    testing::fake_kernel kernel;
    std::unique_ptr<dvb_device_techotrend> device;
    testing::event_capture log;

    void start(DeliverySystem system, std::uint32_t caps = 0x001bffff) {
        kernel.delivery_systems = {SYS_DVBT, SYS_DVBT2, SYS_DVBC_ANNEX_A, SYS_DVBS, SYS_DVBS2};
        kernel.info.caps = static_cast<fe_caps>(caps);
        device = std::make_unique<dvb_device_techotrend>(std::make_unique<linux_card>(kernel, 0, system));
        ASSERT_EQ(device->init(), result::ok) << log.all();
        device->set_lnb_config({0, 9750000, 10600000, 11700000, true});
    }
    // Tunes and reads back: the record the card gives back is the one tuned (which names its
    // system: the read-back always does).
    void tune(TUNERPARM t) {
        ASSERT_EQ(device->set_tuner(t), result::ok) << log.all();
        TUNERPARM back;
        ASSERT_EQ(device->get_tuner(back), result::ok);
        EXPECT_EQ(back.delivery, t.delivery);
    }
    void TearDown() override { device.reset(); }
};

TEST_F(DeliveryTuning, SatelliteSecondGenerationWithStreamAndGoldIndex) {
    start(DeliverySystem::dvb_s);
    TUNERPARM t{1, 11.362, 0, 0, 27500000, 0, 0, 0, {}};
    t.delivery.system = DeliverySystem::dvb_s2;
    t.delivery.modulation = Modulation::psk_8;
    t.delivery.roll_off = RollOff::r0_20;
    t.delivery.stream_id = 1;
    t.delivery.scrambling_index = 5;
    tune(t);
    EXPECT_EQ(kernel.tuned_commands(),
              (commands{DTV_DELIVERY_SYSTEM, DTV_CLEAR, DTV_FREQUENCY, DTV_SYMBOL_RATE, DTV_INNER_FEC,
                        DTV_INVERSION, DTV_MODULATION, DTV_ROLLOFF, DTV_PILOT, DTV_STREAM_ID,
                        DTV_SCRAMBLING_SEQUENCE_INDEX, DTV_TUNE}));
    auto tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBS2);
    EXPECT_EQ(tuned[DTV_MODULATION], PSK_8);
    EXPECT_EQ(tuned[DTV_ROLLOFF], ROLLOFF_20);
    EXPECT_EQ(tuned[DTV_PILOT], PILOT_AUTO);
    EXPECT_EQ(tuned[DTV_STREAM_ID], 1u);
    EXPECT_EQ(tuned[DTV_SCRAMBLING_SEQUENCE_INDEX], 5u);
    EXPECT_TRUE(log.has("delivery system=DVB-S2 stream=1", 1)) << log.all();

    // An API before 5.11 takes the Gold index packed into the stream id.
    kernel.api_version = 0x050A;
    start(DeliverySystem::dvb_s2);
    t.delivery.system = DeliverySystem::automatic;  // the card's own: DVB-S2
    ASSERT_EQ(device->set_tuner(t), result::ok) << log.all();
    tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBS2);
    EXPECT_EQ(tuned[DTV_STREAM_ID], 1u | 5u << 8 | 1u << 26);
    EXPECT_EQ(tuned.count(DTV_SCRAMBLING_SEQUENCE_INDEX), 0u);
    TUNERPARM back;
    ASSERT_EQ(device->get_tuner(back), result::ok);
    EXPECT_EQ(back.delivery.stream_id, 1);
    EXPECT_EQ(back.delivery.scrambling_index, 5);
}

TEST_F(DeliveryTuning, TerrestrialTakesEachParameterOrAutoAsTheCapabilitiesAllow) {
    start(DeliverySystem::automatic);  // the frontend's first: DVB-T
    TUNERPARM t{3, 474.0, 0, 0, 3, 0, 0, 0, {}};
    t.delivery.system = DeliverySystem::dvb_t2;
    t.delivery.stream_id = 0;
    ASSERT_EQ(device->set_tuner(t), result::ok);
    auto tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBT2);
    EXPECT_EQ(tuned[DTV_STREAM_ID], 0u);
    EXPECT_EQ(tuned[DTV_FREQUENCY], 474000000u);
    // The virtual adapter's capabilities lack FE_CAN_BANDWIDTH_AUTO.
    EXPECT_EQ(tuned[DTV_BANDWIDTH_HZ], 8000000u);
    EXPECT_EQ(tuned[DTV_GUARD_INTERVAL], GUARD_INTERVAL_AUTO);
    EXPECT_TRUE(log.has("Frontend cannot find out the bandwidth itself: tuning 8000000", 2)) << log.all();

    // Without any FE_CAN_..._AUTO, DVB-T gets the common values for what the record leaves open.
    start(DeliverySystem::dvb_t, 0);
    t.delivery = {};
    t.delivery.guard_interval = GuardInterval::g1_8;
    t.delivery.bandwidth_hz = 6000000;
    ASSERT_EQ(device->set_tuner(t), result::ok);
    tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBT);
    EXPECT_EQ(tuned[DTV_GUARD_INTERVAL], GUARD_INTERVAL_1_8);
    EXPECT_EQ(tuned[DTV_BANDWIDTH_HZ], 6000000u);
    EXPECT_EQ(tuned[DTV_MODULATION], QAM_64);
    EXPECT_EQ(tuned[DTV_CODE_RATE_HP], FEC_2_3);
    EXPECT_EQ(tuned[DTV_TRANSMISSION_MODE], TRANSMISSION_MODE_8K);
    EXPECT_EQ(tuned[DTV_HIERARCHY], HIERARCHY_NONE);
    EXPECT_EQ(tuned.count(DTV_STREAM_ID), 0u);
}

TEST_F(DeliveryTuning, CableModulationOfTheRecordOverridesTheWord) {
    start(DeliverySystem::dvb_c);
    TUNERPARM t{2, 474.0, 0, 6875000, 3, 3, 0, 0, {}};
    t.delivery.system = DeliverySystem::dvb_c;
    t.delivery.modulation = Modulation::qam_256;
    tune(t);
    EXPECT_EQ(kernel.tuned()[DTV_MODULATION], QAM_256);
    EXPECT_EQ(kernel.tuned()[DTV_DELIVERY_SYSTEM], SYS_DVBC_ANNEX_A);
}

TEST_F(DeliveryTuning, ASystemTheFrontendLacksFailsTheTuning) {
    kernel.delivery_systems = {SYS_DVBS};
    device = std::make_unique<dvb_device_techotrend>(std::make_unique<linux_card>(kernel, 0));
    ASSERT_EQ(device->init(), result::ok);
    EXPECT_FALSE(device->offers_system(DeliverySystem::dvb_s2));
    EXPECT_TRUE(device->offers_system(DeliverySystem::dvb_s));
    kernel.clear_events();
    TUNERPARM t{1, 11.362, 0, 0, 27500000, 0, 0, 0, {}};
    t.delivery.system = DeliverySystem::dvb_s2;
    EXPECT_EQ(device->set_tuner(t), result::failed);
    EXPECT_TRUE(log.has("Frontend Fake Frontend cannot tune DVB-S2 (its DVB-S systems: DVB-S)", 1))
        << log.all();
    EXPECT_TRUE(log.has("Error set channel: 22", 1));
    for (const std::string& event : kernel.events())
        EXPECT_NE(event, "FE_SET_PROPERTY");

    // A system of another frontend type is no better.
    start(DeliverySystem::dvb_s);
    t.delivery.system = DeliverySystem::dvb_t2;
    EXPECT_FALSE(device->offers_system(DeliverySystem::dvb_t2));
    EXPECT_EQ(device->set_tuner(t), result::failed);
}

TEST_F(DeliveryTuning, StatisticsInDecibelsWhileLockedAndCounters) {
    start(DeliverySystem::dvb_t);
    kernel.statistics[DTV_STAT_SIGNAL_STRENGTH] = stat(FE_SCALE_DECIBEL, -34200);
    kernel.statistics[DTV_STAT_CNR] = stat(FE_SCALE_DECIBEL, 28100);
    kernel.statistics[DTV_STAT_PRE_ERROR_BIT_COUNT] = stat(FE_SCALE_COUNTER, 3);
    kernel.statistics[DTV_STAT_PRE_TOTAL_BIT_COUNT] = stat(FE_SCALE_COUNTER, 1000);
    signal_statistics s;
    ASSERT_EQ(device->read_statistics(s), result::ok);
    EXPECT_DOUBLE_EQ(*s.strength_dbm, -34.2);
    EXPECT_DOUBLE_EQ(*s.cnr_db, 28.1);
    ASSERT_TRUE(s.pre_fec_bits.has_value());
    EXPECT_EQ(s.pre_fec_bits->errors, 3u);
    EXPECT_FALSE(s.blocks.has_value());
    EXPECT_EQ(decibel_summary(s), "Strength: -34.2 dBm  CNR: 28.1 dB");

    // Unlocked the decibels mean nothing: none are given.
    kernel.locked = false;
    ASSERT_EQ(device->read_statistics(s), result::ok);
    EXPECT_FALSE(s.strength_dbm.has_value());
    EXPECT_FALSE(s.cnr_db.has_value());
    EXPECT_EQ(decibel_summary(s), "");
}

}  // namespace
}  // namespace kestrel
