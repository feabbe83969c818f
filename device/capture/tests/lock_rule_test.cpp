#include "device/capture/lock_rule.h"

#include <gtest/gtest.h>

#include <vector>

#include "device/capture/diseqc_switch.h"

namespace kestrel {
namespace {

ChannelRecord satellite(std::uint32_t khz, std::uint32_t volts) {
    return ChannelRecord{{khz, 2, 27800000, 10600000, 1, volts, 0}};
}

TEST(DiseqcSwitch, FollowsResetBurstAndCommittedSwitch) {
    diseqc_switch sw;
    const std::vector<std::uint8_t> committed_3{0xE0, 0x10, 0x38, 0xFC};
    sw.receive(committed_3, diseqc_burst::none);
    EXPECT_EQ(sw.position(), 3);
    sw.receive(std::vector<std::uint8_t>{0xE1, 0x10, 0x38, 0xF7},
               diseqc_burst::none);  // a repeat, position 1
    EXPECT_EQ(sw.position(), 1);
    sw.receive(std::vector<std::uint8_t>{0xE0, 0x00, 0x00}, diseqc_burst::none);
    EXPECT_EQ(sw.position(), 0);
    sw.receive({}, diseqc_burst::mini_b);
    EXPECT_EQ(sw.position(), 1);
    sw.receive(std::vector<std::uint8_t>{0xE0, 0x10, 0x39, 0xF0},
               diseqc_burst::none);  // uncommitted: not ours
    sw.receive(std::vector<std::uint8_t>{0x38, 0x10}, diseqc_burst::none);
    EXPECT_EQ(sw.position(), 1);
    sw.receive({}, diseqc_burst::mini_a);
    EXPECT_EQ(sw.position(), 0);
}

TEST(LockRule, PositionPolarisationVoltageAndFrequency) {
    capture_manifest m;
    m.transponders = {{0, 12322000, 'H', 27800000, "a.ts", 1},
                      {0, 11778000, 'V', 27500000, "b.ts", 2},
                      {1, 12322000, 'R', 27500000, "c.ts", 3},
                      {1, 12326000, 'L', 27500000, "d.ts", 4}};
    EXPECT_EQ(receiving_transponder(m, satellite(12322000, 18), 0), 0);
    EXPECT_EQ(receiving_transponder(m, satellite(12324000, 18), 0), 0);   // 2 MHz off: still
    EXPECT_EQ(receiving_transponder(m, satellite(12324001, 18), 0), -1);  // beyond
    EXPECT_EQ(receiving_transponder(m, satellite(12322000, 13), 0), -1);  // wrong polarisation
    EXPECT_EQ(receiving_transponder(m, satellite(12322000, 0), 0), -1);   // LNB off
    EXPECT_EQ(receiving_transponder(m, satellite(11777000, 13), 0), 1);
    EXPECT_EQ(receiving_transponder(m, satellite(11778000, 13), 1), -1);  // other satellite
    EXPECT_EQ(receiving_transponder(m, satellite(12322500, 13), 1), 2);   // right: 13 V
    EXPECT_EQ(receiving_transponder(m, satellite(12325000, 18), 1), 3);   // left: 18 V
    EXPECT_EQ(receiving_transponder(m, satellite(12322000, 18), 2), -1);

    m.type = frontend_dvb_c;
    m.transponders = {{-1, 346000, 0, 6900000, "c.ts", 1}};
    EXPECT_EQ(receiving_transponder(m, ChannelRecord{{347000, 0, 6900000, 2, 2, 0, 0}}, 0), 0);
    EXPECT_EQ(receiving_transponder(m, ChannelRecord{{347001, 0, 6900000, 2, 2, 0, 0}}, 0), -1);

    m.always_locked = true;
    EXPECT_EQ(receiving_transponder(m, ChannelRecord{}, 3), 0);
}

TEST(LockRule, ALineLocksAsItsSystemAndItsStream) {
    using lib13818::DeliverySystem;
    capture_manifest m;
    m.transponders = {{0, 12322000, 'H', 27800000, "s.ts", 1},
                      {0, 11362000, 'H', 27500000, "isi2.ts", 2, DeliverySystem::dvb_s2, 2},
                      {0, 11362000, 'H', 27500000, "isi1.ts", 3, DeliverySystem::dvb_s2, 1},
                      {0, 11900000, 'H', 27500000, "s2.ts", 4, DeliverySystem::dvb_s2}};
    const auto tuned = [](std::uint32_t khz, DeliverySystem system, std::int32_t stream) {
        ChannelRecord r = satellite(khz, 18);
        r.delivery.system = system;
        r.delivery.stream_id = stream;
        return r;
    };
    const struct {
        ChannelRecord channel;
        int locks;
    } cases[] = {
        {tuned(12322000, DeliverySystem::automatic, -1), 0},  // as today
        {tuned(12322000, DeliverySystem::dvb_s, 7), 0},       // a line without stream: any
        {tuned(12322000, DeliverySystem::dvb_s2, -1), -1},    // DVB-S is not DVB-S2
        {tuned(11362000, DeliverySystem::automatic, -1), -1},
        {tuned(11362000, DeliverySystem::dvb_s2, -1), 2},  // no stream named: the lowest
        {tuned(11362000, DeliverySystem::dvb_s2, 2), 1},
        {tuned(11362000, DeliverySystem::dvb_s2, 3), -1},
        {tuned(11900000, DeliverySystem::dvb_s2, 5), 3},
        {tuned(11900000, DeliverySystem::dvb_s, -1), -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(receiving_transponder(m, c.channel, 0), c.locks)
            << c.channel.word[0] << " " << lib13818::name(c.channel.delivery.system) << " "
            << c.channel.delivery.stream_id;
}

}  // namespace
}  // namespace kestrel
