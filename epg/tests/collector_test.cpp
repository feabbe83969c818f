// The guide's collector: which sections it keeps and when it calls the guide complete.

#include <gtest/gtest.h>

#include "epg/tests/guide_sections.h"

namespace kestrel::epg::testing {
namespace {

const utc_time evening{2026, 3, 14, 18, 0, 0};
const bytes tot = encode::tot_section(evening, {});

struct completion_case {
    const char* name;
    std::vector<bytes> sections;
    bool complete;
    bool needs_tot = true;
};

TEST(GuideCollector, CompleteWhenEverySegmentAndTableAnnouncedHasCome) {
    const auto pf = [](std::uint8_t n) {
        return eit({0x4E, n, 1, 1, 0x4E}, {event(n + 1, evening, 30, "P")});
    };
    // Schedule 0x50: sections 8 and 9 form segment 1, the last the table announces.
    const auto schedule = [](std::uint8_t table, std::uint8_t n, std::uint8_t last_table) {
        return eit({table, n, 9, 9, last_table}, {event(20 + n, evening, 30, "S")});
    };
    bytes broken = pf(1);
    broken[20] ^= 0xFF;
    const bytes pf_only = sdt("One", false, true), schedule_only = sdt("One", true, false);
    const completion_case cases[] = {
        {"p/f both sections", {pf(0), pf(1), pf_only, tot}, true},
        {"p/f following missing", {pf(0), pf_only, tot}, false},
        {"p/f section failing its CRC", {pf(0), broken, pf_only, tot}, false},
        {"schedule the SDT announces not come", {pf(0), pf(1), sdt("One"), tot}, false},
        {"segment whole", {schedule(0x50, 8, 0x50), schedule(0x50, 9, 0x50), schedule_only, tot}, true},
        {"segment short of its last section", {schedule(0x50, 8, 0x50), schedule_only, tot}, false},
        {"table 0x51 announced, not come",
         {schedule(0x50, 8, 0x51), schedule(0x50, 9, 0x51), schedule_only, tot},
         false},
        {"table 0x51 come",
         {schedule(0x50, 8, 0x51), schedule(0x50, 9, 0x51), schedule(0x51, 8, 0x51), schedule(0x51, 9, 0x51),
          schedule_only, tot},
         true},
        {"no SDT", {pf(0), pf(1), tot}, false},
        {"TDT only, TOT needed", {pf(0), pf(1), pf_only, encode::tdt_section(evening)}, false},
        {"TDT only, offset set", {pf(0), pf(1), pf_only, encode::tdt_section(evening)}, true, false},
    };
    for (const completion_case& c : cases) {
        section_store store({{}, c.needs_tot});
        for (const bytes& s : c.sections)
            store.feed(s);
        EXPECT_EQ(store.complete(), c.complete) << c.name;
    }
}

TEST(GuideCollector, LatestSectionOfASubTableWinsAndRepeatsAreNotCounted) {
    section_store store;
    const bytes first = eit({0x50, 0, 0, 0, 0x50, 1}, {event(5, evening, 30, "Old")});
    const bytes second = eit({0x50, 0, 0, 0, 0x50, 2}, {event(5, evening, 30, "New")});
    for (const bytes& s : {first, first, second})
        store.feed(s);
    EXPECT_EQ(store.eit_sections(), 1u);
    std::vector<bytes> kept;
    store.for_each_eit([&](const stored_section& s) { kept.push_back(s.bytes); });
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0], second);
}

TEST(GuideCollector, LeavesOutBrokenNotYetValidAndUnwantedSections) {
    section_store store({{0x0022}, true});
    bytes next = eit({0x4E, 0, 0, 0, 0x4E, 0, 0x0022}, {event(1, evening, 30, "Next")});
    next[5] &= 0xFE;  // current_next_indicator 0
    lib13818::seal_section(next);
    bytes cut = eit({0x4E, 0, 0, 0, 0x4E, 0, 0x0022}, {event(1, evening, 30, "Cut")});
    cut.resize(cut.size() - 6);
    for (const bytes& s : {next, cut, eit({}, {event(1, evening, 30, "Other service")})})
        store.feed(s);
    EXPECT_EQ(store.eit_sections(), 0u);
    EXPECT_EQ(store.rejected_sections(), 2u);
}

}  // namespace
}  // namespace kestrel::epg::testing
