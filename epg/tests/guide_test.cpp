// The guide built from collected sections: which copy of an event wins, faulty times,
// overlaps, names and the local days of the listing.

#include <gtest/gtest.h>

#include <sstream>

#include "epg/guide_text.h"
#include "epg/si_time.h"
#include "epg/tests/guide_sections.h"

namespace kestrel::epg::testing {
namespace {

const utc_time at18{2026, 3, 14, 18, 0, 0}, at19{2026, 3, 14, 19, 0, 0}, at1830{2026, 3, 14, 18, 30, 0};
const std::int64_t utc18 = 1773511200;  // 2026-03-14T18:00:00Z

const guide_event& only_event(const guide& g) {
    EXPECT_EQ(g.services.size(), 1u);
    EXPECT_EQ(g.services.at(0).events.size(), 1u);
    return g.services.at(0).events.at(0);
}

TEST(GuideBuild, OneEventSentTwiceIsTakenFromTheFresherCopy) {
    struct copy_case {
        const char* name;
        std::vector<bytes> sections;
        const char* title;
        std::int64_t start;
        event_source source;
    };
    const bytes pf = eit({0x4E, 0, 0, 0, 0x4E}, {event(7, at18, 30, "From p/f")});
    const bytes schedule = eit({0x50, 0, 0, 0, 0x50}, {event(7, at18, 30, "From schedule")});
    const bytes moved = eit({0x50, 8, 8, 8, 0x50}, {event(7, at19, 30, "Moved")});
    const copy_case cases[] = {
        {"p/f before schedule", {pf, schedule}, "From p/f", utc18, event_source::present_following},
        {"schedule before p/f", {schedule, pf}, "From p/f", utc18, event_source::present_following},
        {"moved to another time", {schedule, moved}, "Moved", utc18 + 3600, event_source::schedule},
        {"moved back", {moved, schedule}, "From schedule", utc18, event_source::schedule},
    };
    for (const copy_case& c : cases) {
        const guide g = build(c.sections);
        const guide_event& e = only_event(g);
        EXPECT_EQ(e.title, c.title) << c.name;
        EXPECT_EQ(e.start_utc, c.start) << c.name;
        EXPECT_EQ(e.source, c.source) << c.name;
    }
}

// A minimum age and a broadcaster's own value, country by country.
TEST(GuideBuild, ReadsParentalRatingsByCountry) {
    const bytes rating = {0x55, 8, 'G', 'B', 'R', 0x01, 'D', 'E', 'U', 0x12};
    const guide g = build({eit({}, {event(7, at18, 30, "Rated", rating)})});
    const guide_event& e = only_event(g);
    ASSERT_EQ(e.ratings.size(), 2u);
    EXPECT_EQ(e.ratings[0].country, "GBR");
    EXPECT_TRUE(e.ratings[0].is_age());
    EXPECT_EQ(e.ratings[0].minimum_age(), 4);
    EXPECT_EQ(e.ratings[1].country, "DEU");
    EXPECT_FALSE(e.ratings[1].is_age());
    EXPECT_EQ(e.ratings[1].rating, 0x12);
}

TEST(GuideBuild, KeepsTheBodiesOfContentIdentifiersAsHex) {
    // One descriptor with a CRID carried whole (type 0x31, "/ab") and one referred to (type
    // 0x32); a second whose CRID runs past it, which stays undecoded and still counts.
    const bytes crids = {0x76, 0x08, 0xC4, 0x03, '/', 'a', 'b', 0xC9, 0x01, 0x02, 0x76, 0x02, 0xC4, 0x09};
    const guide g = build({eit({}, {event(7, at18, 30, "Title", crids)})});
    EXPECT_EQ(only_event(g).content_identifiers_hex, (std::vector<std::string>{"C4032F6162C90102", "C409"}));
}

TEST(GuideBuild, FlagsUndefinedAndNonBcdTimesInsteadOfGuessing) {
    const bytes plain = eit({0x50, 0, 0, 0, 0x50}, {event(1, at18, 90, "Timed")});
    struct time_case {
        const char* name;
        bytes section;
        std::optional<std::int64_t> start;
        time_fault start_fault;
        std::optional<std::int32_t> duration;
        time_fault duration_fault;
    };
    const time_case cases[] = {
        {"plain", plain, utc18, time_fault::none, 5400, time_fault::none},
        {"undefined start", patched(plain, first_start, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}), std::nullopt,
         time_fault::undefined, 5400, time_fault::none},
        {"start hour 0x1A", patched(plain, first_start + 2, {0x1A}), std::nullopt, time_fault::not_bcd, 5400,
         time_fault::none},
        {"duration minutes 0x6F", patched(plain, first_duration + 1, {0x6F}), utc18, time_fault::none,
         std::nullopt, time_fault::not_bcd},
    };
    for (const time_case& c : cases) {
        const guide g = build({c.section});
        const guide_event& e = only_event(g);
        EXPECT_EQ(e.start_utc, c.start) << c.name;
        EXPECT_EQ(e.start_fault, c.start_fault) << c.name;
        EXPECT_EQ(e.duration_s, c.duration) << c.name;
        EXPECT_EQ(e.duration_fault, c.duration_fault) << c.name;
    }
}

TEST(GuideBuild, MarksOverlapsAndNamesServices) {
    const guide g =
        build({eit({0x50, 0, 0, 0, 0x50}, {event(1, at18, 60, "A"), event(2, at1830, 60, "B"),
                                           event(3, {2026, 3, 14, 19, 30, 0}, 30, "C")}),
               eit({0x50, 0, 0, 0, 0x50, 0, 0x0012}, {event(1, at18, 30, "Other")}), sdt("Kestrel One")});
    ASSERT_EQ(g.services.size(), 2u);
    EXPECT_EQ(g.services[0].name, "Kestrel One");
    EXPECT_EQ(g.services[1].name, "Service 0x0012");
    const auto& events = g.services[0].events;
    ASSERT_EQ(events.size(), 3u);
    EXPECT_TRUE(events[0].overlaps);
    EXPECT_TRUE(events[1].overlaps);
    EXPECT_FALSE(events[2].overlaps);  // starts as B ends
}

TEST(GuideBuild, LocalDaysFollowTheTotOffsetValidAtEachEvent) {
    // GBR goes from +0 to +1 h at 01:00 UTC on 29 March; DEU from +1 h to +2 h.
    const bytes offsets =
        encode::local_time_offset_descriptor({{"GBR", 0, false, 0, {2026, 3, 29, 1, 0, 0}, 60},
                                              {"DEU", 0, false, 60, {2026, 3, 29, 1, 0, 0}, 120}});
    const std::vector<bytes> sections{
        eit({0x50, 0, 0, 0, 0x50}, {event(1, {2026, 3, 28, 23, 30, 0}, 60, "Before"),
                                    event(2, {2026, 3, 29, 2, 0, 0}, 30, "After")}),
        encode::tot_section({2026, 3, 28, 20, 0, 0}, offsets)};
    struct local_case {
        const char* name;
        local_time_settings settings;
        const char* listing;
    };
    const local_case cases[] = {
        {"first country",
         {},
         "Local time: GBR (from the TOT)\n\nService 0x0011 (service 0x0011, transport stream 0x0001, "
         "network "
         "0x2F00)\n  Saturday 2026-03-28\n    23:30-00:30  Before\n  Sunday 2026-03-29\n    03:00-03:30  "
         "After\n"},
        {"country chosen",
         {"DEU", std::nullopt},
         "Local time: DEU (from the TOT)\n\nService 0x0011 (service 0x0011, transport stream 0x0001, "
         "network "
         "0x2F00)\n  Sunday 2026-03-29\n    00:30-01:30  Before\n    04:00-04:30  After\n"},
        {"offset set",
         {"DEU", -300},
         "Local time: -300 min (setting epg/offset_minutes)\n\nService 0x0011 (service 0x0011, transport "
         "stream "
         "0x0001, network 0x2F00)\n  Saturday 2026-03-28\n    18:30-19:30  Before\n    21:00-21:30  "
         "After\n"},
    };
    for (const local_case& c : cases) {
        std::ostringstream text;
        write_text(text, build(sections, {std::nullopt, c.settings}));
        EXPECT_EQ(text.str(), c.listing) << c.name;
    }
}

}  // namespace
}  // namespace kestrel::epg::testing
