#include <gtest/gtest.h>

#include <string>

#include "analysis/tests/stream_fixture.h"

namespace kestrel::analysis {
namespace {

using namespace testing;

// One fault put into the clean stream, and what the analysis must make of it: the counts of
// the indicators named (every other priority 1 and 2 indicator stays 0) and the first event
// of the first one named, at the packet the fault returns.
struct fault_case {
    const char* name;
    std::function<std::size_t(packet_list&)> inject;            // returns the packet of the first event
    std::vector<std::pair<std::string, std::uint64_t>> counts;  // the first one's event is checked
    const char* detail;
    std::function<void(analysis_options&)> configure = {};
};

// Turns the packets of pid in [from, to) into null packets; returns `to`.
std::size_t blank(packet_list& s, std::uint16_t pid, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (pid_of(s[i]) == pid) {
            s[i][1] = 0x1F;
            s[i][2] = 0xFF;
        }
    return to;
}

void erase_nth(packet_list& s, std::uint16_t pid, std::size_t n, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k)
        s.erase(s.begin() + static_cast<std::ptrdiff_t>(nth(s, pid, n)));
}

std::size_t packet_at(double seconds) {
    return static_cast<std::size_t>(seconds * stream_bps / (188 * 8));
}

bool pcr_only(const packet_bytes& p) {
    return !has_payload(p);
}

// An audio packet followed by a video payload packet, for a loss of sync over both.
std::size_t audio_then_video(const packet_list& s) {
    for (std::size_t i = nth(s, audio_pid, 10);; ++i)
        if (pid_of(s[i]) == audio_pid && pid_of(s[i + 1]) == video_pid && has_payload(s[i + 1])) return i;
}

const fault_case fault_cases[] = {
    {"LostPackets",
     [](packet_list& s) {
         erase_nth(s, audio_pid, 10, 3);
         return nth(s, audio_pid, 10);
     },
     {{"1.4", 1}},
     "missing 3 packets"},
    {"OneDuplicateIsAllowed",
     [](packet_list& s) {
         const std::size_t at = nth(s, audio_pid, 10);
         s.insert(s.begin() + static_cast<std::ptrdiff_t>(at + 1), s[at]);
         return SIZE_MAX;
     },
     {},
     ""},
    {"ThirdCopy",
     [](packet_list& s) {
         const std::size_t at = nth(s, audio_pid, 10);
         s.insert(s.begin() + static_cast<std::ptrdiff_t>(at + 1), 2, s[at]);
         return at + 2;
     },
     {{"1.4", 1}},
     "duplicate (a third copy of a packet)"},
    {"ReorderedPackets",
     [](packet_list& s) {
         std::swap(s[nth(s, audio_pid, 10)], s[nth(s, audio_pid, 11)]);
         return nth(s, audio_pid, 10);
     },
     {{"1.4", 3}},
     "missing 1 packet"},
    {"AdaptationOnlyPacketsKeepTheCounter",
     [](packet_list& s) {
         const std::size_t at = nth(s, audio_pid, 10);
         packet_bytes only = s[at];
         only[3] = static_cast<std::uint8_t>((only[3] & 0xCF) | 0x20);  // adaptation field, no payload
         only[4] = 183;
         only[5] = 0;
         s.insert(s.begin() + static_cast<std::ptrdiff_t>(at + 1), 3, only);
         return SIZE_MAX;
     },
     {},
     ""},
    {"DiscontinuityIndicatorAllowsAJump",
     [](packet_list& s) {
         erase_nth(s, audio_pid, 10, 4);
         packet_bytes& p = s[nth(s, audio_pid, 10)];
         p[3] |= 0x20;  // an adaptation field with the discontinuity_indicator over the payload's start
         p[4] = 1;
         p[5] = 0x80;
         return SIZE_MAX;
     },
     {},
     ""},
    {"PatGap",
     [](packet_list& s) {
         blank(s, 0, packet_at(0.45), packet_at(1.15));
         return nth(s, 0, 0, [&](const packet_bytes& p) { return &p >= &s[packet_at(1.15)]; });
     },
     {{"1.3", 1}, {"1.3.a", 1}, {"1.4", 1}},
     "absent for 0.80 s"},
    // The discontinuity_indicator starts the time line again; the packets before it keep the
    // times of the line they were on.
    {"LossBeforeAPcrDiscontinuity",
     [](packet_list& s) {
         s[nth(s, video_pid, 30, pcr_only)][5] |= 0x80;
         const std::size_t after = nth(s, video_pid, 29, pcr_only);
         const std::size_t lost = nth(s, audio_pid, 0, [&](const packet_bytes& p) { return &p > &s[after]; });
         s.erase(s.begin() + static_cast<std::ptrdiff_t>(lost));
         return nth(s, audio_pid, 0, [&](const packet_bytes& p) { return &p >= &s[lost]; });
     },
     {{"1.4", 1}},
     "missing 1 packet"},
    {"PmtWithBadCrc",
     [](packet_list& s) {
         const std::size_t at = nth(s, pmt_pid, 5);
         s[at][20] ^= 0x01;
         return at;
     },
     {{"2.2", 1}},
     "CRC error in table_id 0x02 on PID 0x0100"},
    {"PcrGapOf60Ms",
     [](packet_list& s) {
         s.erase(s.begin() + static_cast<std::ptrdiff_t>(nth(s, video_pid, 21, pcr_only)));
         s.erase(s.begin() + static_cast<std::ptrdiff_t>(nth(s, video_pid, 21, pcr_only)));
         return nth(s, video_pid, 21, pcr_only);
     },
     {{"2.3a", 1}, {"2.3", 1}},
     "PCR interval 6"},
    {"NegativePcrStep",
     [](packet_list& s) {
         const std::size_t at = nth(s, video_pid, 30, pcr_only);
         // 10 ms back: the 33-bit base sits in bytes 6-10, 900 units of 90 kHz are 10 ms.
         std::uint64_t base = (std::uint64_t{s[at][6]} << 25) | (s[at][7] << 17) | (s[at][8] << 9) |
                              (s[at][9] << 1) | (s[at][10] >> 7);
         base -= 1800 + 900;  // the previous PCR was 20 ms earlier
         s[at][6] = static_cast<std::uint8_t>(base >> 25);
         s[at][7] = static_cast<std::uint8_t>(base >> 17);
         s[at][8] = static_cast<std::uint8_t>(base >> 9);
         s[at][9] = static_cast<std::uint8_t>(base >> 1);
         s[at][10] = static_cast<std::uint8_t>((s[at][10] & 0x7F) | ((base & 1) << 7));
         return at;
     },
     {{"2.3b", 1}, {"2.3", 1}},
     "PCR step -",
     // The PCR after the step back lies 50 ms after it: the time base follows the PCRs.
     [](analysis_options& o) { o.limits.pcr_interval_ms = 100; }},
    {"TransportErrorIndicator",
     [](packet_list& s) {
         const std::size_t at = nth(s, audio_pid, 10);
         s[at][1] |= 0x80;
         return at;
     },
     // The damaged packet is left out of the continuity check: the next one misses it.
     {{"2.1", 1}, {"1.4", 1}},
     "transport_error_indicator set"},
    {"WrongSyncByte",
     [](packet_list& s) {
         const std::size_t at = nth(s, audio_pid, 10);
         s[at][0] = 0x46;
         return at;
     },
     {{"1.2", 1}, {"1.4", 1}},
     "sync byte 0x46"},
    {"SyncLoss",
     [](packet_list& s) {
         const std::size_t at = audio_then_video(s);
         s[at][0] = 0x00;
         s[at + 1][0] = 0x00;
         // The first wrong packet is still handed over, the second ends the sync; the next
         // packet regains it.
         return at + 1;
     },
     {{"1.1", 1}, {"1.2", 1}, {"1.4", 2}},
     "sync regained after a loss"},
    {"ScrambledPacketsWithoutCat",
     [](packet_list& s) {
         for (std::size_t n = 10; n < 20; ++n)
             s[nth(s, audio_pid, n)][3] |= 0x80;
         return nth(s, audio_pid, 10);
     },
     {{"2.6", 1}},
     "scrambled packets but no CAT"},
    {"UnreferencedPid",
     [](packet_list& s) {
         const std::size_t at = nth(s, audio_pid, 100);
         s[at][1] = 0x12;
         s[at][2] = 0x34;
         return at;
     },
     {{"3.4", 1}, {"3.4.a", 1}, {"1.4", 1}},
     "never named by a PMT"},
    {"AudioPidAbsentLongerThanTheTimeout",
     [](packet_list& s) { return blank(s, audio_pid, nth(s, audio_pid, 200), nth(s, audio_pid, 530)); },
     {{"1.6", 1}, {"1.4", 1}},
     "PID 0x0102 (audio) absent for",
     [](analysis_options& o) { o.limits.pid_timeout_ms = 300; }},
    // A timeout shorter than the PCR interval: the gap lies inside one window of packets.
    {"AudioPidAbsentLongerThanAShortTimeout",
     [](packet_list& s) { return blank(s, audio_pid, nth(s, audio_pid, 300), nth(s, audio_pid, 312)); },
     {{"1.6", 1}, {"1.4", 1}},
     "PID 0x0102 (audio) absent for",
     [](analysis_options& o) { o.limits.pid_timeout_ms = 10; }},
};

void PrintTo(const fault_case& c, std::ostream* out) {
    *out << c.name;
}

class FaultInjection : public ::testing::TestWithParam<fault_case> {};

TEST_P(FaultInjection, CountsTheFaultAndPointsAtItsPacket) {
    const fault_case& c = GetParam();
    packet_list stream = clean_stream();
    const std::size_t packet = c.inject(stream);
    analysis_options options;
    if (c.configure) c.configure(options);
    const analysis_report report = analyse(stream, options);

    EXPECT_EQ(report.base, time_base::pcr);
    for (const auto& r : report.indicators) {
        const indicator_info& i = info(r.which);
        const auto expected = std::find_if(c.counts.begin(), c.counts.end(),
                                           [&](const auto& entry) { return entry.first == i.id; });
        if (expected != c.counts.end()) {
            EXPECT_EQ(r.count, expected->second) << i.id;
        } else if (i.priority < 3 && !i.estimate) {
            EXPECT_EQ(r.count, 0u) << i.id;
        }
    }
    if (c.counts.empty()) {
        EXPECT_TRUE(report.errors.empty()) << report.errors.front().detail;
        return;
    }
    const std::string first_id = c.counts.begin()->first;
    const auto event = std::find_if(report.errors.begin(), report.errors.end(),
                                    [&](const error_event& e) { return info(e.which).id == first_id; });
    ASSERT_NE(event, report.errors.end());
    EXPECT_EQ(event->packet, packet);
    // Its number within its PID counts the PID's packets before it, whichever window held them;
    // a packet without its sync byte belongs to no PID (and a sync loss leaves packets out).
    std::uint64_t pid_packet = 0;
    for (std::size_t i = 0; i < packet && stream[packet][0] == ts::sync_byte; ++i)
        if (stream[i][0] == ts::sync_byte && pid_of(stream[i]) == event->pid) ++pid_packet;
    if (count(report, "1.1") == 0u) {
        EXPECT_EQ(event->pid_packet, pid_packet);
    }
    EXPECT_NE(event->detail.find(c.detail), std::string::npos) << event->detail;
    ASSERT_TRUE(event->time_s.has_value());
    // Removed packets shift the interpolated times a little.
    EXPECT_NEAR(*event->time_s, static_cast<double>(packet) * 188 * 8 / stream_bps, 0.005);
}

// Scrambled packets are counted on their PID, whether a window of packets is replayed by its
// sums or one by one (the window across the first second's end).
TEST(ScrambledPackets, CountOnTheirPid) {
    packet_list stream = clean_stream();
    const std::size_t second = packet_at(1.0);
    for (std::size_t n = 10; n < 20; ++n)
        stream[nth(stream, audio_pid, n)][3] |= 0x80;
    for (std::size_t i = second - 8; i < second + 8; ++i)
        if (pid_of(stream[i]) == audio_pid) stream[i][3] |= 0x80;
    std::size_t around = 0;
    for (std::size_t i = second - 8; i < second + 8; ++i)
        around += pid_of(stream[i]) == audio_pid;
    const analysis_report report = analyse(stream);
    const pid_report* audio = pid_in(report, audio_pid);
    ASSERT_TRUE(audio);
    EXPECT_EQ(audio->scrambled, 10 + around);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultInjection, ::testing::ValuesIn(fault_cases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kestrel::analysis
