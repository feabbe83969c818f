#include <filesystem>

#include "demux/eit_demux.h"
#include "demux/tests/demux_fixture.h"

namespace kestrel::testing {
namespace {

using CaptureTest = DemuxTest;

TEST_F(CaptureTest, CollectsNitSdtPatAndEitOfRealCaptures) {
    const std::string nit_sdt = KESTREL_SHARED_DIR "/captures/test-103.ts";
    const std::string eit = KESTREL_SHARED_DIR "/captures/test-101.ts";
    if (!std::filesystem::exists(nit_sdt) || !std::filesystem::exists(eit))
        GTEST_SKIP() << "captures test-103.ts and test-101.ts not found in " KESTREL_SHARED_DIR "/captures";

    constexpr std::uint8_t nit_actual = 0x40, sdt_actual = 0x42, full = 0xFF;
    NitMap nits;
    SdtMap sdts;
    PatList pats;
    {
        nokia_dvb2000_demux2 demux(capture_device(nit_sdt));
        demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, nullptr, nullptr);
        demux.add_psi_handler(0x11, &sdt_actual, &full, &sdts, 1, nullptr, nullptr);
        demux.add_handler(0, 0, &pats, 1024, 10, nullptr, nullptr);
        demux.run();
    }
    ASSERT_FALSE(nits.empty());
    ASSERT_FALSE(sdts.empty());
    ASSERT_FALSE(pats.empty());
    const lib13818::Sdt& first_sdt = sdts.begin()->second.begin()->second.begin()->second;
    EXPECT_EQ(first_sdt.table_id_extension, pats[0].table_id_extension);
    EXPECT_FALSE(first_sdt.services.empty());

    EitMap present_other, schedule_other;
    eit_demux demux(capture_device(eit));
    demux.add_other_present_following(present_other, nullptr, nullptr);
    demux.add_other_schedule(schedule_other, nullptr, nullptr);
    demux.run();
    EXPECT_FALSE(present_other.empty());
    EXPECT_FALSE(schedule_other.empty());
}

}  // namespace
}  // namespace kestrel::testing
