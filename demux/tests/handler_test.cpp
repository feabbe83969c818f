#include <chrono>
#include <thread>

#include "demux/nokia_dvb2000_demux2.h"
#include "demux/tests/demux_fixture.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/pat.h"
#include "ts/tests/extract_helpers.h"

namespace kestrel::testing {
namespace {

using HandlerTest = DemuxTest;

TEST_F(HandlerTest, SingleSectionHandlerTakesFirstSectionAndStops) {
    nokia_dvb2000_demux2 demux(device(on_pid(0, {pat(7, 1, 1, 2), pat(7, 0, 1, 5)})));
    lib13818::Pat first;
    demux.add_psi_handler(0, 0, &first, nullptr, nullptr);
    demux.run();

    EXPECT_EQ(traced("got section (PSI*)"), 1);
    EXPECT_EQ(first.section_number, 1);
    EXPECT_EQ(first.programs.size(), 2u);
}

TEST_F(HandlerTest, DeliveryShorterThanItsSectionIsDropped) {
    fake_card* fake = nullptr;
    nokia_dvb2000_demux2 demux(fake_device(fake));
    lib13818::Pat first;
    demux.add_psi_handler(0, 0, &first, nullptr, nullptr);
    std::thread feeder([&] {
        while (fake->filter_count() == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        bytes cut = pat(7, 0, 0, 3);
        cut.resize(20);
        fake->feed(0, cut);
        fake->feed(0, pat(7, 0, 0, 2));
    });
    demux.run();
    feeder.join();

    EXPECT_EQ(traced("section dropped: 20 bytes delivered, 24 declared"), 1);
    EXPECT_EQ(first.programs.size(), 2u);
}

TEST_F(HandlerTest, SingleSectionSiHandlerHoldsLongSectionWhole) {
    nokia_dvb2000_demux2 demux(device(on_pid(0x12, {eit(0x4E, 1, 2, 3, 0, 3000)})));
    lib13818::Eit present;
    demux.add_psi_handler(0x12, 0x4E, &present, nullptr, nullptr);
    demux.run();

    EXPECT_TRUE(present.parsed);
    EXPECT_EQ(present.section_length + 3, 3000);
    ASSERT_EQ(present.events.size(), 1u);
}

TEST_F(HandlerTest, MultiSectionTableCompletesByDistinctSectionNumbersInAnyOrder) {
    nokia_dvb2000_demux2 demux(device(on_pid(0, {pat(7, 2, 2), pat(7, 1, 2), pat(7, 1, 2), pat(7, 0, 2)})));
    PatList whole, two;
    demux.add_handler(0, 0, &whole, 1024, 10, nullptr, nullptr);
    demux.add_handler(0, 0, &two, 1024, 2, nullptr, nullptr);
    demux.run();

    ASSERT_EQ(whole.size(), 3u);
    EXPECT_EQ(whole[0].section_number, 2);
    EXPECT_EQ(whole[1].section_number, 1);
    EXPECT_EQ(whole[2].section_number, 0);
    // A handler with two slots is complete with two sections, whatever last_section_number says.
    EXPECT_EQ(two.size(), 2u);
    EXPECT_EQ(traced("got section (PMT/NIT/SDT/PAT)"), 5);
}

TEST_F(HandlerTest, PsiSlotTakesSectionsUpTo1024Bytes) {
    // 253 programs make the largest PAT section; one byte more is one too many.
    const bytes largest = pat(7, 0, 0, 253);
    const bytes too_large = ts::testing::make_section(0x00, largest.size() + 1);
    nokia_dvb2000_demux2 demux(device(on_pid(0, {too_large, largest})));
    PatList pats;
    demux.add_handler(0, 0, &pats, 1024, 10, nullptr, nullptr);
    demux.run();

    EXPECT_EQ(traced("section length : 1025"), 1);
    EXPECT_EQ(traced("section to large"), 1);
    ASSERT_EQ(pats.size(), 1u);
    EXPECT_EQ(pats[0].programs.size(), 253u);
}

}  // namespace
}  // namespace kestrel::testing
