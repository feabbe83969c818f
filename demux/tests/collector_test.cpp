#include "demux/eit_demux.h"
#include "demux/nokia_dvb2000_demux2.h"
#include "demux/other_stream_demux.h"
#include "demux/tests/demux_fixture.h"

namespace kestrel::testing {
namespace {

using CollectorTest = DemuxTest;

constexpr std::uint8_t sdt_actual = 0x42, nit_actual = 0x40, full = 0xFF;

TEST_F(CollectorTest, SdtCarouselEndsAtFirstRepeat) {
    nokia_dvb2000_demux2 demux(
        device(on_pid(0x11, {sdt(0x42, 1, 2, 0, 2), sdt(0x42, 1, 2, 1, 2), sdt(0x42, 1, 2, 2, 2),
                             sdt(0x42, 1, 2, 0, 2), sdt(0x42, 1, 2, 1, 2)})));
    SdtMap sdts;
    demux.add_psi_handler(0x11, &sdt_actual, &full, &sdts, 1, nullptr, nullptr);
    demux.run();

    EXPECT_EQ(sdts[1][2].size(), 3u);
    EXPECT_EQ(traced("section already read m_cnt=3"), 1);
    EXPECT_EQ(traced("filter stop condition m_eitread=1 m_bufpos=3"), 1);
    EXPECT_EQ(traced("addding SDT NID=0x1 TID=0x2 SEC=0x2"), 1);
    EXPECT_EQ(traced("nokia_dvb2000_demux2::SdtFilter::parse"), 1);
}

TEST_F(CollectorTest, NitStopsAfterTwentySections) {
    std::vector<bytes> sections;
    for (std::uint8_t n = 0; n < 25; ++n)
        sections.push_back(nit(0x40, 9, n, 24));
    nokia_dvb2000_demux2 demux(device(on_pid(0x10, sections)));
    NitMap nits;
    demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, nullptr, nullptr);
    demux.run();

    EXPECT_EQ(nits[9].size(), 20u);
    EXPECT_EQ(traced("got NIT section"), 20);
}

TEST_F(CollectorTest, NitWithAMisdeclaredLoopIsFiledWithItsWarningTraced) {
    const bytes section = vidtv_nit();
    ASSERT_EQ(section.size(), 40u);
    nokia_dvb2000_demux2 demux(device(on_pid(0x10, {section, section})));
    NitMap nits;
    demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, nullptr, nullptr);
    demux.run();

    ASSERT_EQ(nits[0xFF44].size(), 1u);
    const lib13818::Nit& nit = nits[0xFF44][0];
    ASSERT_EQ(nit.transport_streams.size(), 1u);
    EXPECT_EQ(nit.transport_streams[0].transport_stream_id, 0x4081);
    EXPECT_EQ(traced("warning: PID 0x10 table_id 0x40 section 0, byte 23: transport_stream_loop_length 6 "
                     "disagrees with the 11 bytes before the CRC_32, which hold whole entries: read those"),
              1);
}

TEST_F(CollectorTest, EitScheduleTablesShareKeyAndLongSectionsStayWhole) {
    const bytes long_schedule = eit(0x50, 1, 2, 3, 0, 3000);
    eit_demux demux(device(on_pid(0x12, {eit(0x4E, 1, 2, 3, 0), long_schedule, eit(0x51, 1, 2, 3, 0)})));
    EitMap present, schedule;
    demux.add_actual_present_following(present, nullptr, nullptr);
    demux.add_actual_schedule(schedule, nullptr, nullptr);
    EXPECT_TRUE(demux.wanted(eit_table::actual_schedule));
    EXPECT_FALSE(demux.wanted(eit_table::other_schedule));
    demux.run();

    // 0x51 counts as a repeat of 0x50 (same service and section_number): it is not filed.
    ASSERT_EQ(schedule[1][2][3].size(), 1u);
    const lib13818::Eit& kept = schedule[1][2][3][0];
    EXPECT_EQ(kept.table_id, 0x50);
    EXPECT_EQ(kept.section_length + 3, 3000);
    ASSERT_EQ(kept.events.size(), 1u);
    EXPECT_EQ(present[1][2][3][0].table_id, 0x4E);
}

TEST_F(CollectorTest, OtherStreamDemultiplexersTakeOnlyTheirTable) {
    {
        nit_other_demux demux(device(on_pid(0x10, {nit(0x40, 1, 0, 0), nit(0x41, 2, 0, 0)})));
        NitMap other;
        demux.add_nit_other(other, nullptr, nullptr);
        demux.run();
        EXPECT_EQ(other.count(1), 0u);
        EXPECT_EQ(other[2].size(), 1u);
    }
    sdt_other_demux demux(device(on_pid(0x11, {sdt(0x42, 1, 1, 0, 0), sdt(0x46, 1, 5, 0, 0)})));
    SdtMap other;
    demux.add_sdt_other(other, nullptr, nullptr);
    demux.run();
    EXPECT_EQ(other[1].count(1), 0u);
    EXPECT_EQ(other[1][5].size(), 1u);
}

TEST_F(CollectorTest, ProgramsSharingPmtPidShareOneFilter) {
    nokia_dvb2000_demux2 demux(device(on_pid(0x100, {pmt(3), pmt(2), pmt(2), pmt(1), pmt(3)})));
    PmtList pmts;
    demux.set_pmt_target(&pmts);
    demux.add_pmt_handler(0x100, 1, nullptr, nullptr);
    demux.add_pmt_handler(0x100, 2, nullptr, nullptr);
    demux.run();

    EXPECT_EQ(traced("nokia_dvb2000_demux2::filter::init()"), 1);
    ASSERT_EQ(pmts.size(), 2u);
    EXPECT_EQ(pmts[0].table_id_extension, 2);
    EXPECT_EQ(pmts[1].table_id_extension, 1);
}

TEST_F(CollectorTest, PmtPidOfMoreProgramsThanSlotsStoresFifty) {
    std::vector<bytes> sections;
    for (std::uint16_t p = 1; p <= 60; ++p)
        sections.push_back(pmt(p));
    nokia_dvb2000_demux2 demux(device(on_pid(0x100, sections)));
    PmtList pmts;
    demux.set_pmt_target(&pmts);
    for (int p = 1; p <= 60; ++p)
        demux.add_pmt_handler(0x100, p, nullptr, nullptr);
    demux.run();

    ASSERT_EQ(pmts.size(), 50u);
    EXPECT_EQ(pmts.back().table_id_extension, 50);
}

}  // namespace
}  // namespace kestrel::testing
