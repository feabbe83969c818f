#include <gtest/gtest.h>

#include "lib13818/delivery/delivery.h"
#include "lib13818/delivery/delivery_codes.h"

namespace lib13818 {
namespace {

// The coded fields of the delivery descriptors, as the standard numbers them.
TEST(DeliveryCodes, SatelliteDescriptorBitsGiveSystemModulationAndRollOff) {
    struct row {
        int32_t modulation_bits;  // 0x43 byte 8, bits 4-0
        int32_t fec;
        DeliverySystem system;
        Modulation modulation;
        RollOff roll_off;
    };
    const row rows[] = {
        {0x01, 3, DeliverySystem::dvb_s, Modulation::qpsk, RollOff::automatic},
        {0x00, 1, DeliverySystem::dvb_s, Modulation::automatic, RollOff::automatic},
        {0x05, 2, DeliverySystem::dvb_s2, Modulation::qpsk, RollOff::r0_35},
        {0x0E, 9, DeliverySystem::dvb_s2, Modulation::psk_8, RollOff::r0_25},
        {0x16, 7, DeliverySystem::dvb_s2, Modulation::psk_8, RollOff::r0_20},
        {0x1F, 3, DeliverySystem::dvb_s2, Modulation::qam_16, RollOff::automatic},  // roll-off 3 reserved
        // DVB-S has neither 8PSK, nor roll-off 0.20, nor FEC 9/10: such signals are DVB-S2.
        {0x02, 3, DeliverySystem::dvb_s2, Modulation::psk_8, RollOff::r0_35},
        {0x11, 3, DeliverySystem::dvb_s2, Modulation::qpsk, RollOff::r0_20},
        {0x01, 9, DeliverySystem::dvb_s2, Modulation::qpsk, RollOff::r0_35},
    };
    for (const row& r : rows) {
        const Delivery d = satellite_delivery(satellite_codes(r.modulation_bits, r.fec));
        EXPECT_EQ(d.system, r.system) << r.modulation_bits;
        EXPECT_EQ(d.modulation, r.modulation) << r.modulation_bits;
        EXPECT_EQ(d.roll_off, r.roll_off) << r.modulation_bits;
    }
    SatelliteCodes s2 = satellite_codes(0x05, 2);
    s2.input_stream_identifier = 7;
    s2.scrambling_sequence_index = 262142;
    const Delivery d = satellite_delivery(s2);
    EXPECT_EQ(d.stream_id, 7);
    EXPECT_EQ(d.scrambling_index, 262142);
    EXPECT_EQ(d.code_rate_hp, CodeRate::r2_3);
}

TEST(DeliveryCodes, SingleFieldsFollowTheStandardsTables) {
    const CodeRate fec[] = {CodeRate::automatic, CodeRate::r1_2,  CodeRate::r2_3,     CodeRate::r3_4,
                            CodeRate::r5_6,      CodeRate::r7_8,  CodeRate::r8_9,     CodeRate::r3_5,
                            CodeRate::r4_5,      CodeRate::r9_10, CodeRate::automatic};
    for (int32_t code = 0; code < 11; ++code)
        EXPECT_EQ(fec_inner_of(code), fec[code]) << code;
    EXPECT_EQ(fec_inner_of(15), CodeRate::none);
    const Modulation qam[] = {Modulation::automatic, Modulation::qam_16,  Modulation::qam_32,
                              Modulation::qam_64,    Modulation::qam_128, Modulation::qam_256,
                              Modulation::automatic};
    for (int32_t code = 0; code < 7; ++code)
        EXPECT_EQ(cable_modulation_of(code), qam[code]) << code;
    const int32_t bandwidths[] = {8000000, 7000000, 6000000, 5000000, 10000000, 1712000, automatic};
    for (int32_t code = 0; code < 7; ++code)
        EXPECT_EQ(bandwidth_hz_of(code), bandwidths[code]) << code;
    const GuardInterval guards[] = {GuardInterval::g1_32,   GuardInterval::g1_16,    GuardInterval::g1_8,
                                    GuardInterval::g1_4,    GuardInterval::g1_128,   GuardInterval::g19_128,
                                    GuardInterval::g19_256, GuardInterval::automatic};
    for (int32_t code = 0; code < 8; ++code)
        EXPECT_EQ(guard_interval_of(code), guards[code]) << code;
    const TransmissionMode modes[] = {TransmissionMode::m2k, TransmissionMode::m8k,  TransmissionMode::m4k,
                                      TransmissionMode::m1k, TransmissionMode::m16k, TransmissionMode::m32k};
    for (int32_t code = 0; code < 6; ++code)
        EXPECT_EQ(transmission_mode_of(code, true), modes[code]) << code;
    EXPECT_EQ(transmission_mode_of(3, false), TransmissionMode::automatic);  // reserved in 0x5A
    EXPECT_EQ(roll_off_of(1), RollOff::r0_25);
    EXPECT_EQ(roll_off_of(2), RollOff::r0_20);
}

TEST(DeliveryCodes, CableTerrestrialAndT2Descriptors) {
    const Delivery cable = cable_delivery({5, 3});
    EXPECT_EQ(cable.system, DeliverySystem::dvb_c);
    EXPECT_EQ(cable.modulation, Modulation::qam_256);
    EXPECT_EQ(cable.code_rate_hp, CodeRate::r3_4);

    // 8 MHz, 64-QAM, alpha 2 with the in-depth interleaver bit, 2/3 and 1/2, 1/8, 8k.
    const Delivery t = terrestrial_delivery({0, 2, 6, 1, 0, 2, 1});
    EXPECT_EQ(t.system, DeliverySystem::dvb_t);
    EXPECT_EQ(t.bandwidth_hz, 8000000);
    EXPECT_EQ(t.modulation, Modulation::qam_64);
    EXPECT_EQ(t.hierarchy, Hierarchy::a2);
    EXPECT_EQ(t.code_rate_hp, CodeRate::r2_3);
    EXPECT_EQ(t.code_rate_lp, CodeRate::r1_2);
    EXPECT_EQ(t.guard_interval, GuardInterval::g1_8);
    EXPECT_EQ(t.transmission_mode, TransmissionMode::m8k);
    // Without hierarchy there is no LP stream.
    EXPECT_EQ(terrestrial_delivery({1, 1, 0, 2, 4, 3, 0}).code_rate_lp, CodeRate::none);

    const Delivery t2 = t2_delivery({3, 5, 4, 5});
    EXPECT_EQ(t2.system, DeliverySystem::dvb_t2);
    EXPECT_EQ(t2.stream_id, 3);
    EXPECT_EQ(t2.bandwidth_hz, 1712000);
    EXPECT_EQ(t2.guard_interval, GuardInterval::g1_128);
    EXPECT_EQ(t2.transmission_mode, TransmissionMode::m32k);
    // The short form names the PLP alone.
    const Delivery short_form = t2_delivery({0});
    EXPECT_EQ(short_form.stream_id, 0);
    EXPECT_EQ(short_form.bandwidth_hz, automatic);
    EXPECT_EQ(short_form.guard_interval, GuardInterval::automatic);
}

template <class Code>
void expect_names_read_back() {
    for (const Named<Code>& n : names(Code{})) {
        Code read{};
        EXPECT_TRUE(parse(n.name, read)) << n.name;
        EXPECT_EQ(read, n.value) << n.name;
        EXPECT_EQ(code_of<Code>(static_cast<int32_t>(n.value)), n.value) << n.name;
    }
}

TEST(DeliveryNames, EveryValueReadsBackFromItsNameAndNumber) {
    expect_names_read_back<DeliverySystem>();
    expect_names_read_back<Modulation>();
    expect_names_read_back<RollOff>();
    expect_names_read_back<Pilot>();
    expect_names_read_back<CodeRate>();
    expect_names_read_back<GuardInterval>();
    expect_names_read_back<TransmissionMode>();
    expect_names_read_back<Hierarchy>();
    Modulation m{};
    EXPECT_TRUE(parse("256", m));
    EXPECT_EQ(m, Modulation::qam_256);
    EXPECT_TRUE(parse("8psk", m));
    EXPECT_EQ(m, Modulation::psk_8);
    EXPECT_FALSE(parse("8", m));
    EXPECT_EQ(code_of<CodeRate>(24), CodeRate::automatic);  // no code rate 2/4
    EXPECT_STREQ(name(static_cast<RollOff>(15)), "auto");

    for (const int32_t hz : bandwidths_hz) {
        int32_t read = 0;
        const std::string mhz = bandwidth_name(hz);
        EXPECT_TRUE(parse_bandwidth(mhz.substr(0, mhz.size() - 4), read)) << mhz;
        EXPECT_EQ(read, hz);
    }
    EXPECT_EQ(bandwidth_name(1712000), "1.712 MHz");
    int32_t hz = 0;
    EXPECT_FALSE(parse_bandwidth("9", hz));
}

TEST(DeliveryNames, RootCodesTurnIntoGoldIndices) {
    EXPECT_EQ(gold_index_of_root(1), 0);
    EXPECT_EQ(gold_index_of_root(0x20000), 1);    // the register's first step
    EXPECT_EQ(gold_index_of_root(0), automatic);  // never reached
}

}  // namespace
}  // namespace lib13818
