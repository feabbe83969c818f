#include <gtest/gtest.h>

#include <map>

#include "ts/tests/extract_helpers.h"

namespace kestrel::ts {
namespace {

using namespace testing;
using packing = section_packetizer::packing;

constexpr std::uint16_t pid = 0x12;

std::vector<pid_section> on_pid(const std::vector<bytes>& sections) {
    std::vector<pid_section> expected;
    for (const auto& s : sections)
        expected.emplace_back(pid, s);
    return expected;
}

// The payload of a packet that starts a section: the pointer field, then the bytes.
bytes pointed(std::uint8_t pointer, std::span<const std::uint8_t> data) {
    bytes payload{pointer};
    payload.insert(payload.end(), data.begin(), data.end());
    return payload;
}

TEST(SectionAssembly, RoundTripsSectionsOfEverySize) {
    // Several to a packet, a header cut after one and two bytes, across many packets, the largest allowed.
    std::vector<bytes> sections;
    for (std::size_t size : {12, 12, 170, 181, 182, 183, 184, 185, 400, 1024, 4096, 12})
        sections.push_back(make_section(0x4E, size, static_cast<std::uint8_t>(sections.size())));
    for (const packing mode : {packing::packed, packing::one_per_packet}) {
        stream_builder builder;
        builder.add_sections(pid, sections, mode);
        EXPECT_EQ(extract(builder.bytes(), {pid}), on_pid(sections));
    }
}

TEST(SectionAssembly, ReadsEveryPacketLayoutInAnyBlocks) {
    const std::vector<bytes> sections{make_section(0x42, 300), make_section(0x46, 20),
                                      make_section(0x4A, 900)};
    for (const packet_format format : {format_188, format_192, format_204}) {
        stream_builder builder(format);
        builder.add_null();
        builder.add_sections(pid, sections);
        builder.add_null();
        ASSERT_EQ(detect_packet_format(builder.bytes()), format);
        for (std::size_t block : {0, 1, 189, 1000}) {
            extraction_stats stats;
            EXPECT_EQ(extract(builder.bytes(), {pid}, &stats, block), on_pid(sections))
                << format.stride << "/" << block;
            EXPECT_EQ(stats.packets, builder.bytes().size() / format.stride);
            EXPECT_EQ(stats.skipped_bytes, 0u);
        }
    }
}

TEST(SectionAssembly, SkipsStuffingAndAdaptationFields) {
    const bytes a = make_section(0x00, 16), b = make_section(0x02, 40);
    stream_builder builder;
    adaptation_field adaptation;
    adaptation.length = 100;
    packet_header header{.payload_unit_start_indicator = true, .pid = pid, .has_adaptation_field = true};
    bytes payload = pointed(0, a);
    payload.push_back(0xFF);  // stuffing: b in the same packet is never seen
    payload.insert(payload.end(), b.begin(), b.end());
    builder.add_packet(header, adaptation, payload);
    header.continuity_counter = 1;
    builder.add_packet(header, adaptation, pointed(0, b));
    EXPECT_EQ(extract(builder.bytes(), {pid}), on_pid({a, b}));
}

TEST(SectionAssembly, ContinuityBreakDropsOnlyTheSectionInProgress) {
    const bytes big = make_section(0x4E, 500), small = make_section(0x4E, 30, 1);
    stream_builder builder;
    section_packetizer packetizer;
    packetizer.add(big);
    packetizer.add(small);
    bytes payload(184);
    for (int n = 0; !packetizer.empty(); ++n) {
        const bool start = packetizer.next_payload(payload);
        packet_header header{.payload_unit_start_indicator = start, .pid = pid};
        header.continuity_counter =
            static_cast<std::uint8_t>(n == 0 ? 0 : n + 1);  // a packet lost after the first
        builder.add_packet(header, {}, payload);
    }
    extraction_stats stats;
    EXPECT_EQ(extract(builder.bytes(), {pid}, &stats), on_pid({small}));
    EXPECT_EQ(stats.sections.continuity_breaks, 1u);
    EXPECT_EQ(stats.sections.dropped, 1u);
}

TEST(SectionAssembly, IgnoresOneDuplicatePacketAndAnnouncedDiscontinuity) {
    const bytes s = make_section(0x42, 300);
    stream_builder builder;
    packet_header first{.payload_unit_start_indicator = true, .pid = pid, .continuity_counter = 7};
    builder.add_packet(first, {}, pointed(0, s));
    builder.add_packet(first, {}, pointed(0, s));  // the duplicate
    packet_header second{.pid = pid, .continuity_counter = 8};
    builder.add_packet(second, {}, std::span(s).subspan(183));
    // A new stream spliced in: the counter jumps with the discontinuity_indicator set.
    adaptation_field spliced{.discontinuity_indicator = true};
    packet_header third{.payload_unit_start_indicator = true,
                        .pid = pid,
                        .has_adaptation_field = true,
                        .continuity_counter = 3};
    builder.add_packet(third, spliced, pointed(0, make_section(0x42, 20)));
    extraction_stats stats;
    EXPECT_EQ(extract(builder.bytes(), {pid}, &stats), on_pid({s, make_section(0x42, 20)}));
    EXPECT_EQ(stats.sections.duplicates, 1u);
    EXPECT_EQ(stats.sections.continuity_breaks, 0u);
}

TEST(SectionAssembly, DropsOversizedSectionsAndImpossibleLengths) {
    const bytes good = make_section(0x42, 20);
    stream_builder builder;
    builder.add_sections(pid, std::vector<bytes>{make_section(0x4E, 4097)});
    // A pointer field past the end of the packet, then an adaptation_field_length past it.
    builder.add_packet({.payload_unit_start_indicator = true,
                        .pid = pid,
                        .continuity_counter = builder.continuity_counter(pid)},
                       {}, pointed(184, good));
    const std::size_t patched = builder.bytes().size() + header_size;
    builder.add_packet({.payload_unit_start_indicator = true,
                        .pid = pid,
                        .has_adaptation_field = true,
                        .continuity_counter = builder.continuity_counter(pid)},
                       {}, pointed(0, good));
    builder.add_sections(pid, std::vector<bytes>{good});
    bytes capture = builder.bytes();
    capture[patched] = 183;
    extraction_stats stats;
    EXPECT_EQ(extract(capture, {pid}, &stats), on_pid({good}));
    EXPECT_EQ(stats.sections.oversized, 1u);
    EXPECT_EQ(stats.sections.malformed, 2u);
}

TEST(SectionAssembly, RegainsLostSyncAndIgnoresATruncatedLastPacket) {
    const std::vector<bytes> sections{make_section(0x40, 700), make_section(0x40, 700, 1)};
    stream_builder builder;
    builder.add_sections(pid, std::vector<bytes>{sections[0]});
    const std::size_t cut = builder.bytes().size();
    for (int i = 0; i < 6; ++i)
        builder.add_null();
    builder.add_sections(pid, std::vector<bytes>{sections[1]});
    bytes capture = builder.bytes();
    bytes junk(100, 0x00);
    for (std::size_t i = 5; i < junk.size(); i += 10)
        junk[i] = sync_byte;  // sync bytes at the wrong stride
    capture.insert(capture.begin() + static_cast<std::ptrdiff_t>(cut), junk.begin(), junk.end());
    capture.resize(capture.size() + 50, 0x47);
    for (std::size_t block : {0, 300}) {
        extraction_stats stats;
        EXPECT_EQ(extract(capture, {pid}, &stats, block), on_pid(sections));
        EXPECT_EQ(stats.skipped_bytes, junk.size());
        EXPECT_EQ(stats.sync_losses, 1u);
        EXPECT_EQ(stats.truncated_bytes, 50u);
    }
}

TEST(StreamBuilder, MuxRepeatsCarouselsAtTheirIntervals) {
    mux_plan plan;
    plan.duration_ms = 1000;
    plan.pcr_pid = 0x100;
    plan.elementary_pids = {0x100, 0x101};
    plan.carousels.push_back({.pid = 0x00, .sections = {make_section(0x00, 30)}, .interval_ms = 100});
    plan.carousels.push_back({.pid = 0x12,
                              .sections = {make_section(0x4E, 2000), make_section(0x4E, 100, 1)},
                              .interval_ms = 500});
    stream_builder builder;
    builder.add_mux(plan);
    std::map<std::uint16_t, int> count;
    extraction_stats stats;
    for (const auto& [p, s] : extract(builder.bytes(), {0x00, 0x12}, &stats))
        ++count[p];
    EXPECT_EQ(count[0x00], 10);
    EXPECT_EQ(count[0x12], 4);
    EXPECT_EQ(stats.sections.continuity_breaks, 0u);

    // The PCRs follow the stream clock, 40 ms apart.
    std::vector<std::uint64_t> pcrs;
    for (std::size_t at = 0; at < builder.bytes().size(); at += packet_size) {
        const packet pkt = parse_packet(builder.bytes().data() + at);
        if (pkt.adaptation.pcr) pcrs.push_back(*pkt.adaptation.pcr);
    }
    ASSERT_EQ(pcrs.size(), 25u);
    for (std::size_t i = 1; i < pcrs.size(); ++i)
        EXPECT_NEAR(double(pcrs[i] - pcrs[i - 1]), 40 * 27000.0, 188 * 8 * 27 / 8.0);
}

}  // namespace
}  // namespace kestrel::ts
