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

}  // namespace
}  // namespace kestrel
