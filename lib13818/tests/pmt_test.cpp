#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/names/stream_type_names.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tests/section_helpers.h"

namespace lib13818 {
namespace {

// clang-format off
const std::vector<std::uint8_t> scrambled_programme = long_section(0x02, 0x0101, {
    0xE1, 0x00, 0xF0, 0x0C,                          // PCR PID 0x100, program_info_length 12
    0x09, 0x04, 0x06, 0x22, 0xE5, 0x00,              // CA: ECM PID 0x500
    0x56, 0x00, 0xC0, 0x02, 0xAA, 0xBB,              // teletext tag at program level, a private tag
    0x02, 0xE1, 0x00, 0xF0, 0x09,                    // video on 0x100
    0x09, 0x04, 0x06, 0x22, 0xE5, 0x01, 0x52, 0x01, 0x01,
    0x06, 0xE1, 0x03, 0xF0, 0x0E,                    // teletext on 0x103
    0x56, 0x05, 'd', 'e', 'u', 0x11, 0x50,
    0x09, 0x05, 0x17, 0x02, 0xE5, 0x02, 0x00,
});
// clang-format on

TEST(Pmt, SortsDescriptorsByKindAndCollectsEveryCaDescriptorInOrder) {
    Pmt pmt;
    pmt.parse(scrambled_programme.data(), scrambled_programme.size());
    EXPECT_EQ(pmt.table_id_extension, 0x0101);
    EXPECT_EQ(pmt.PCR_PID, 0x100);
    ASSERT_EQ(pmt.CA.size(), 1u);
    ASSERT_EQ(pmt.general.size(), 1u);  // teletext is decoded in stream loops only
    EXPECT_EQ(pmt.general[0].descriptor_tag, 0x56);
    ASSERT_EQ(pmt.described.size(), 1u);  // a private descriptor without a specifier
    EXPECT_EQ(pmt.described[0].bytes("private_data"), "\xAA\xBB");
    ASSERT_EQ(pmt.streams.size(), 2u);
    EXPECT_EQ(pmt.streams[0].stream_type, 2);
    EXPECT_EQ(pmt.streams[0].stream_identifier.at(0).component_tag, 1);
    EXPECT_EQ(pmt.streams[1].elementary_PID, 0x103);
    EXPECT_EQ(pmt.streams[1].teletext.at(0).pages.at(0).teletext_type, 2);

    std::vector<DescriptorCA> ca;
    pmt.collect_CA(ca);
    ASSERT_EQ(ca.size(), 3u);
    EXPECT_EQ(ca[0].CA_PID, 0x500);
    EXPECT_EQ(ca[1].CA_PID, 0x501);
    EXPECT_EQ(ca[2].CA_PID, 0x502);
    EXPECT_EQ(ca[2].private_data.size(), 1u);
}

TEST(Pmt, DumpsProgramStreamsAndDescriptors) {
    Pmt pmt;
    pmt.parse(scrambled_programme.data(), scrambled_programme.size());
    std::ostringstream out;
    pmt.dump(out);
    const std::string text = out.str();
    EXPECT_EQ(text.substr(0, text.find("descriptor_tag")),
              "program_number: 257\nversion_number: 1\nsection_number: 0\nlast_section_number: 0\n"
              "current_next_indicator: 1\npcr_pid: 256\n");
    // Numbers after a descriptor's hexadecimal dump are decimal again.
    EXPECT_NE(text.find("descriptor_tag: 09 CA_Descriptor\nsys_id: 0622 Irdeto\npid: 0500\n"
                        "descriptor_tag: c0 user_defined_descriptor\ndescriptor_length 2\n"
                        "private_data_specifier no specifier\nprivate_data:\naa bb"),
              std::string::npos);
    EXPECT_NE(text.find("Dumping 2 stream infos\nstream_type: 2\nelementary_PID: 256\n"), std::string::npos);
    EXPECT_NE(text.find("stream_type: 6\nelementary_PID: 259\n"), std::string::npos);
    EXPECT_NE(text.find("descriptor_tag: 56 teletext_descriptor\nlanguage_code deu\nteletext_type 2\n"
                        "teletext_magazine_number 1\nteletext_page_number 50\n"),
              std::string::npos);
}

TEST(Pmt, LoopsThatDoNotAddUpThrow) {
    // program_info_length ends inside a descriptor.
    EXPECT_EQ(parse_error<Pmt>(long_section(0x02, 1, {0xE1, 0x00, 0xF0, 0x03, 0x52, 0x02, 0x01, 0x01})),
              "descriptor start end mismatch");
    // ES_info ends inside a descriptor: reading on into the next entry would decode bytes
    // that are not a descriptor.
    EXPECT_EQ(parse_error<Pmt>(long_section(0x02, 1,
                                            {0xE1, 0x00, 0xF0, 0x00, 0x02, 0xE1, 0x00, 0xF0, 0x02, 0x52, 0x02,
                                             0x03, 0xE1, 0x01, 0xF0, 0x00})),
              "too little data");
    // 4 bytes between the last stream and the CRC.
    EXPECT_EQ(parse_error<Pmt>(long_section(
                  0x02, 1, {0xE1, 0x00, 0xF0, 0x00, 0x02, 0xE1, 0x00, 0xF0, 0x00, 0x03, 0xE1, 0x01, 0xF0})),
              "too little data");
    // Declared lengths past the section.
    EXPECT_EQ(parse_error<Pmt>(long_section(0x02, 1, {0xE1, 0x00, 0xF0, 0x10})), "too little data");
    EXPECT_EQ(parse_error<Pmt>(long_section(0x02, 1, {0xE1, 0x00, 0xF0, 0x00, 0x02, 0xE1, 0x00, 0xF0, 0x01})),
              "too little data");
    EXPECT_EQ(parse_error<Pmt>(long_section(0x02, 1, {0xE1, 0x00})), "too little data");
}

TEST(StreamTypeName, NamesReservedAndUserPrivateRanges) {
    EXPECT_STREQ(stream_type_name(0x02), "ISO13818-2 VIDEO");
    EXPECT_STREQ(stream_type_name(0x0E), "ISO13818-1 AUXILIARY");
    EXPECT_STREQ(stream_type_name(0x0F), "RESERVED");
    EXPECT_STREQ(stream_type_name(0x7F), "RESERVED");
    EXPECT_STREQ(stream_type_name(0x80), "USER PRIVATE");
}

}  // namespace
}  // namespace lib13818
