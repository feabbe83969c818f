#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ts/tests/extract_helpers.h"

namespace kestrel::ts {
namespace {

using testing::bytes;
using testing::in_blocks;
constexpr int units = 16;

// Sixteen packets, each on the PID of its unit's number, with wrong sync bytes at `wrong` and
// `lead` bytes of junk in front.
bytes numbered_capture(packet_format format, std::vector<int> wrong, std::size_t lead) {
    stream_builder builder(format);
    for (int i = 0; i < units; ++i)
        builder.add_packet({.pid = static_cast<std::uint16_t>(i)});
    bytes capture(lead, 0x00);
    capture.insert(capture.end(), builder.bytes().begin(), builder.bytes().end());
    for (int i : wrong)
        capture[lead + static_cast<std::size_t>(i) * format.stride + format.prefix] = 0x00;
    return capture;
}

struct scanned {
    std::string packets;  // unit numbers handed over, "!" after a wrong sync byte, "^" after a regain
    std::uint64_t losses = 0;
    std::uint64_t skipped = 0;
};

// Scans the capture in blocks of `block` bytes (0: all at once), one packet at a time or
// `in_runs`, checking on the way that the packets are numbered without gaps and each carries
// its unit's prefix, and at the end that every byte was counted once.
scanned scan(const bytes& capture, packet_format format, sync_rule rule, std::size_t lead, std::size_t block,
             bool in_runs) {
    packet_scanner scanner(format, rule);
    scanned result;
    std::uint64_t expected_number = 0;
    const auto on_packet = [&](const scanned_packet& p) {
        const std::size_t unit = p.bytes[2];
        EXPECT_EQ(p.number, expected_number++);
        ASSERT_EQ(p.prefix.size(), format.prefix);
        const auto* at = capture.data() + lead + unit * format.stride;
        EXPECT_TRUE(std::equal(p.prefix.begin(), p.prefix.end(), at)) << "prefix of unit " << unit;
        result.packets += (result.packets.empty() ? "" : " ") + std::to_string(unit) +
                          (p.wrong_sync_byte ? "!" : "") + (p.sync_regained ? "^" : "");
    };
    const auto on_run = [&](const packet_run& run) {
        for (std::size_t i = 0; i < run.count; ++i) {
            const std::uint8_t* unit = run.units + i * format.stride;
            on_packet({unit + format.prefix, {unit, format.prefix}, run.first_number + i});
        }
    };
    in_blocks(capture, block, [&](std::span<const std::uint8_t> pending, bool final) {
        if (in_runs) return scanner.scan_runs(pending.data(), pending.size(), final, on_run, on_packet);
        return scanner.scan(pending.data(), pending.size(), final, on_packet);
    });
    EXPECT_EQ(scanner.packets() * format.stride + scanner.skipped_bytes() + scanner.truncated_bytes(),
              capture.size());
    result.losses = scanner.sync_losses();
    result.skipped = scanner.skipped_bytes();
    return result;
}

TEST(PacketScanner, CountsEveryUnitInSyncAndSkipsOnlyWhatSyncLossLeaves) {
    struct example {
        const char* what;
        packet_format format;
        std::vector<int> wrong;
        std::size_t lead;
        scanned hysteresis;
        scanned strict;
    };
    const std::vector<example> examples{
        {"one wrong sync byte",
         format_188,
         {8},
         0,
         {"0 1 2 3 4 5 6 7 8! 9 10 11 12 13 14 15", 0, 0},
         {"0 1 2 3 4 5 6 7 9^ 10 11 12 13 14 15", 1, 188}},
        {"two apart",
         format_188,
         {6, 8},
         0,
         {"0 1 2 3 4 5 6! 7 8! 9 10 11 12 13 14 15", 0, 0},
         {"0 1 2 3 4 5 9^ 10 11 12 13 14 15", 1, 3 * 188}},
        {"two in a row lose sync",
         format_192,
         {6, 7},
         0,
         {"0 1 2 3 4 5 6! 8^ 9 10 11 12 13 14 15", 1, 192},
         {"0 1 2 3 4 5 8^ 9 10 11 12 13 14 15", 1, 2 * 192}},
        {"regained after five good ones",
         format_188,
         {6, 7, 10},
         0,
         {"0 1 2 3 4 5 6! 11^ 12 13 14 15", 1, 4 * 188},
         {"0 1 2 3 4 5 11^ 12 13 14 15", 1, 5 * 188}},
        {"fewer where the capture ends",
         format_192,
         {12, 13},
         0,
         {"0 1 2 3 4 5 6 7 8 9 10 11 12! 14^ 15", 1, 192},
         {"0 1 2 3 4 5 6 7 8 9 10 11 14^ 15", 1, 2 * 192}},
        {"junk before the first packet",
         format_192,
         {},
         100,
         {"0 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", 0, 100},
         {"0^ 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15", 1, 100}},
        {"a wrong sync byte before sync is gained",
         format_188,
         {2},
         0,
         {"3 4 5 6 7 8 9 10 11 12 13 14 15", 0, 3 * 188},
         {"0 1 3^ 4 5 6 7 8 9 10 11 12 13 14 15", 1, 188}},
    };
    for (const example& e : examples) {
        const bytes capture = numbered_capture(e.format, e.wrong, e.lead);
        for (const auto& [block, in_runs] : {std::pair<std::size_t, bool>{0, false},
                                             {1, false},
                                             {300, false},
                                             {0, true},
                                             {1, true},
                                             {300, true},
                                             {3000, true}}) {
            for (const auto& [rule, expected] :
                 {std::pair{sync_rule::hysteresis, e.hysteresis}, {sync_rule::strict, e.strict}}) {
                const scanned got = scan(capture, e.format, rule, e.lead, block, in_runs);
                const std::string where = std::string(e.what) +
                                          (rule == sync_rule::strict ? ", strict" : "") + ", blocks of " +
                                          std::to_string(block) + (in_runs ? ", in runs" : "");
                EXPECT_EQ(got.packets, expected.packets) << where;
                EXPECT_EQ(got.losses, expected.losses) << where;
                EXPECT_EQ(got.skipped, expected.skipped) << where;
            }
        }
    }
}

}  // namespace
}  // namespace kestrel::ts
