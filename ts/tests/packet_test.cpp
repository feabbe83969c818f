#include <gtest/gtest.h>

#include "ts/tests/extract_helpers.h"

namespace kestrel::ts {
namespace {

using testing::bytes;

TEST(Packet, WritesAndParsesEveryHeaderField) {
    const packet_header header{true, true, true, 0x1ABC, 2, true, true, 9};
    const adaptation_field adaptation{.length = 20,
                                      .discontinuity_indicator = true,
                                      .random_access_indicator = true,
                                      .pcr = pcr_modulus - 1};
    const bytes payload(200, 0x5A);
    bytes raw(packet_size);
    EXPECT_EQ(write_packet(raw.data(), header, adaptation, payload), packet_size - header_size - 21);
    const packet pkt = parse_packet(raw.data());
    ASSERT_TRUE(pkt.intact);
    EXPECT_EQ(pkt.header.transport_error_indicator, true);
    EXPECT_EQ(pkt.header.transport_priority, true);
    EXPECT_EQ(pkt.header.pid, 0x1ABC);
    EXPECT_EQ(pkt.header.transport_scrambling_control, 2);
    EXPECT_EQ(pkt.header.continuity_counter, 9);
    EXPECT_EQ(pkt.adaptation.length, 20);
    EXPECT_TRUE(pkt.adaptation.discontinuity_indicator);
    EXPECT_EQ(pkt.adaptation.pcr, pcr_modulus - 1);
    EXPECT_EQ(pkt.payload.size(), packet_size - header_size - 21);
}

TEST(Packet, LengthsPastThePacketLeaveNoPayload) {
    bytes raw(packet_size, 0);
    raw[0] = sync_byte;
    for (const auto& [control, length] : {std::pair{0x30, 183}, {0x20, 184}, {0x00, 0}}) {
        raw[3] = static_cast<std::uint8_t>(control);
        raw[4] = static_cast<std::uint8_t>(length);
        const packet pkt = parse_packet(raw.data());
        EXPECT_FALSE(pkt.intact) << control << "/" << length;
        EXPECT_TRUE(pkt.payload.empty());
    }
    raw[3] = 0x20;
    raw[4] = 183;
    EXPECT_TRUE(parse_packet(raw.data()).intact);
}

TEST(PacketFormat, DetectsLayoutsAfterJunkAndRefusesOtherData) {
    for (const packet_format format : {format_188, format_192, format_204}) {
        stream_builder builder(format);
        for (int i = 0; i < 8; ++i)
            builder.add_null();
        bytes data = builder.bytes();
        data.insert(data.begin(), 37, sync_byte);
        EXPECT_EQ(detect_packet_format(data), format) << format.stride;
    }
    stream_builder one;
    one.add_null();
    EXPECT_EQ(detect_packet_format(one.bytes()), format_188);
    const bytes text(5000, 'G');
    EXPECT_EQ(detect_packet_format(std::span(text).first(100)), std::nullopt);
    bytes no_sync(5000, 0);
    EXPECT_EQ(detect_packet_format(no_sync), std::nullopt);
}

}  // namespace
}  // namespace kestrel::ts
