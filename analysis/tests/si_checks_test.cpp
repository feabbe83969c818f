#include <gtest/gtest.h>

#include <string>

#include "analysis/tests/stream_fixture.h"

namespace kestrel::analysis {
namespace {

using namespace testing;
using encode::bytes;

const bytes sdt_actual = encode::sdt_section({.table_id = 0x42, .table_id_extension = 1}, 1,
                                             {{.service_id = 1, .descriptors = {}}});
const bytes nit_actual_0 =
    encode::network_section({.table_id = 0x40, .table_id_extension = 1, .last_section_number = 1}, {}, {});
const bytes nit_actual_1 = encode::network_section(
    {.table_id = 0x40, .table_id_extension = 1, .section_number = 1, .last_section_number = 1}, {}, {});
const bytes eit_present = encode::eit_section({.table_id = 0x4E, .table_id_extension = 1}, {}, {});
const bytes eit_schedule = encode::eit_section({.table_id = 0x50, .table_id_extension = 1}, {}, {});
const bytes nit_other = encode::network_section({.table_id = 0x41, .table_id_extension = 2}, {}, {});

// SI carousels beside the programme, and what the priority 3 checks make of them; every
// indicator not named stays 0.
struct si_case {
    const char* name;
    std::vector<ts::carousel> carousels;
    std::uint32_t duration_ms;
    std::function<void(packet_list&)> fault;
    std::vector<std::pair<std::string, std::uint64_t>> counts;
};

void PrintTo(const si_case& c, std::ostream* out) {
    *out << c.name;
}

const si_case si_cases[] = {
    {"TablesInTime",
     {{.pid = 0x10, .sections = {nit_actual_0, nit_actual_1}, .interval_ms = 500},
      {.pid = 0x11, .sections = {sdt_actual}, .interval_ms = 500}},
     3000,
     {},
     {}},
    {"SdtActualGap",
     {{.pid = 0x11, .sections = {sdt_actual}, .interval_ms = 500}},
     6000,
     [](packet_list& s) {
         const double per_second = stream_bps / 1504.0;
         for (auto i = static_cast<std::size_t>(1.2 * per_second);
              i < static_cast<std::size_t>(4.2 * per_second); ++i)
             if (pid_of(s[i]) == 0x11) s[i][2] = 0xFF, s[i][1] = 0x1F;
     },
     {{"3.5", 1}, {"3.5.a", 1}, {"3.2", 1}, {"1.4", 1}}},
    {"WrongTableOnTheSdtPid",
     {{.pid = 0x11, .sections = {nit_actual_0}, .interval_ms = 1000}},
     2000,
     {},
     {{"3.5", 2}, {"3.5.a", 2}}},
    {"NitSectionRepeatedWithin25Ms",
     {{.pid = 0x10, .sections = {nit_actual_0, nit_actual_0}, .interval_ms = 500}},
     2000,
     {},
     {{"3.1.a", 4}, {"3.2", 4}}},
    {"EitPresentWithoutFollowing",
     {{.pid = 0x12, .sections = {eit_present}, .interval_ms = 500}},
     2000,
     {},
     {{"3.6.c", 1}}},
    {"EitScheduleSectionRepeatedWithin25Ms",
     {{.pid = 0x12, .sections = {eit_schedule, eit_schedule}, .interval_ms = 500}},
     2000,
     {},
     {{"3.2", 4}}},
    // No PCR for the first 52 s: windows full of packets wait untimed (the first holds the
    // PMT and is replayed packet by packet, the next by their sums), and the wrong tables among
    // them still count; only intact tables where they belong have nothing to check.
    {"WrongTablesBeforeTheTimeBase",
     {{.pid = 0x11, .sections = {nit_actual_0}, .interval_ms = 1000},
      {.pid = 0x12, .sections = {eit_schedule}, .interval_ms = 200}},
     55'000,
     [](packet_list& s) {
         for (auto i = std::size_t{0}; i < static_cast<std::size_t>(52 * stream_bps / 1504.0); ++i)
             if ((s[i][3] & 0x20) && s[i][4] > 0) s[i][5] &= ~0x10;
     },
     {{"3.5", 55}, {"3.5.a", 55}}},
    // The NIT other stops after its first second: the capture ends more than 10 s later.
    {"NitOtherAbsentUntilTheEnd",
     {{.pid = 0x10, .sections = {nit_other}, .interval_ms = 1000}},
     12'000,
     [](packet_list& s) {
         for (auto i = static_cast<std::size_t>(1.2 * stream_bps / 1504.0); i < s.size(); ++i)
             if (pid_of(s[i]) == 0x10) s[i][2] = 0xFF, s[i][1] = 0x1F;
     },
     {{"3.1.b", 1}, {"3.2", 1}}},
};

class SiChecks : public ::testing::TestWithParam<si_case> {};

TEST_P(SiChecks, CountTheFaultsOfTheSiTables) {
    const si_case& c = GetParam();
    packet_list stream = clean_stream(c.duration_ms, true, ts::format_188, c.carousels);
    if (c.fault) c.fault(stream);
    const analysis_report report = analyse(stream);
    for (const auto& r : report.indicators) {
        const indicator_info& i = info(r.which);
        const auto expected = std::find_if(c.counts.begin(), c.counts.end(),
                                           [&](const auto& entry) { return entry.first == i.id; });
        if (i.estimate) continue;
        EXPECT_EQ(r.count, expected == c.counts.end() ? 0 : expected->second) << i.id;
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, SiChecks, ::testing::ValuesIn(si_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrel::analysis
