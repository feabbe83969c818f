#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/descriptors/audio_stream_descriptor.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/ca_identifier_descriptor.h"
#include "lib13818/descriptors/copyright_descriptor.h"
#include "lib13818/descriptors/generic_descriptor.h"
#include "lib13818/descriptors/iso639_language_descriptor.h"
#include "lib13818/descriptors/private_data_indicator_descriptor.h"
#include "lib13818/descriptors/std_descriptor.h"
#include "lib13818/descriptors/stream_identifier_descriptor.h"
#include "lib13818/descriptors/teletext_descriptor.h"
#include "lib13818/descriptors/video_stream_descriptor.h"
#include "lib13818/names/ca_provider_names.h"
#include "lib13818/tests/section_helpers.h"

namespace lib13818 {
namespace {

template <class D>
std::string dump_of(const std::vector<std::uint8_t>& bytes) {
    std::ostringstream out;
    decode<D>(bytes).dump(out);
    return out.str();
}

TEST(DescriptorCA, KeepsWhatFollowsThePidAsPrivateData) {
    EXPECT_TRUE(decode<DescriptorCA>({0x09, 0x04, 0x06, 0x22, 0xE5, 0x00}).private_data.empty());
    const auto ca = decode<DescriptorCA>({0x09, 0x07, 0x17, 0x02, 0xFF, 0xFF, 1, 2, 3});
    EXPECT_EQ(ca.CA_system_ID, 0x1702);
    EXPECT_EQ(ca.CA_PID, 0x1FFF);
    EXPECT_EQ(ca.private_data, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(decode_error<DescriptorCA>({0x0A, 0x04, 0x06, 0x22, 0xE5, 0x00}), "invalid descriptor tag");
    EXPECT_EQ(decode_error<DescriptorCA>({0x09, 0x03, 0x06, 0x22, 0xE5}), "too little data");
}

TEST(DescriptorsOfFixedSize, ThrowWhenTheirLengthDoesNotCoverTheFields) {
    EXPECT_EQ(decode_error<DescriptorCopyright>({0x0D, 0x03, 'M', 'P', 'G'}), "too little data");
    EXPECT_EQ(decode_error<DescriptorPrivateDataIndicator>({0x0F, 0x02, 0, 0}), "too little data");
    EXPECT_EQ(decode_error<DescriptorSTD>({0x11, 0x00}), "too little data");
    EXPECT_EQ(decode_error<DescriptorStreamIdentifier>({0x52, 0x00}), "too little data");
    EXPECT_EQ(decode_error<DescriptorAudioStream>({0x03, 0x00}), "too little data");
    EXPECT_EQ(decode_error<DescriptorVideoStream>({0x02, 0x01, 0x00}), "too little data");  // MPEG-2: 3 bytes
}

TEST(DescriptorsOfEntries, NeedWholeEntries) {
    const auto languages = decode<DescriptorISO639Language>({0x0A, 0x08, 'd', 'e', 'u', 0, 'e', 'n', 'g', 3});
    ASSERT_EQ(languages.languages.size(), 2u);
    EXPECT_STREQ(languages.languages[1].ISO_639_language_code.data(), "eng");
    EXPECT_EQ(languages.languages[1].audio_type, 3);
    EXPECT_TRUE(decode<DescriptorISO639Language>({0x0A, 0x00}).languages.empty());
    EXPECT_EQ(decode_error<DescriptorISO639Language>({0x0A, 0x06, 'd', 'e', 'u', 0, 'e', 'n'}),
              "descriptor length mismatch");

    EXPECT_EQ(decode<DescriptorCAIdentifier>({0x53, 0x04, 0x06, 0x22, 0x01, 0x00}).CA_system_ids,
              (std::vector<int32_t>{0x0622, 0x0100}));
    EXPECT_EQ(decode_error<DescriptorCAIdentifier>({0x53, 0x03, 0x06, 0x22, 0x01}),
              "descriptor length mismatch");

    const auto teletext =
        decode<DescriptorTeletext>({0x56, 0x0A, 'd', 'e', 'u', 0x09, 0x00, 'f', 'r', 'a', 0x17, 0x77});
    ASSERT_EQ(teletext.pages.size(), 2u);
    EXPECT_EQ(teletext.pages[0].teletext_type, 1);
    EXPECT_EQ(teletext.pages[0].teletext_magazine_number, 1);
    EXPECT_EQ(teletext.pages[1].teletext_type, 2);
    EXPECT_EQ(teletext.pages[1].teletext_magazine_number, 7);
    EXPECT_EQ(teletext.pages[1].teletext_page_number, 0x77);
    EXPECT_EQ(decode_error<DescriptorTeletext>({0x56, 0x07, 'd', 'e', 'u', 0x09, 0x00, 'f', 'r'}),
              "descriptor length mismatch");
}

TEST(DescriptorCopyright, KeepsAdditionalInfoAfterTheIdentifier) {
    EXPECT_TRUE(
        decode<DescriptorCopyright>({0x0D, 0x04, 'M', 'P', 'G', '2'}).additional_copyright_info.empty());
    const auto c = decode<DescriptorCopyright>({0x0D, 0x06, 'M', 'P', 'G', '2', 7, 8});
    EXPECT_EQ(c.copyright_identifier, 0x4D504732u);
    EXPECT_EQ(c.additional_copyright_info, (std::vector<std::uint8_t>{7, 8}));
}

TEST(DescriptorVideoStream, ReadsTheMpeg2FieldsOnlyForMpeg2Video) {
    const auto mpeg2 = decode<DescriptorVideoStream>({0x02, 0x03, 0x9A, 0x48, 0x7F});
    EXPECT_TRUE(mpeg2.multiple_frame_rate_flag);
    EXPECT_EQ(mpeg2.frame_rate_code, 3);
    EXPECT_FALSE(mpeg2.MPEG_1_only_flag);
    EXPECT_TRUE(mpeg2.constrained_parameter_flag);
    EXPECT_FALSE(mpeg2.still_picture_flag);
    EXPECT_EQ(mpeg2.profile_and_level_indication, 0x48);
    EXPECT_EQ(mpeg2.chroma_format, 1);
    EXPECT_TRUE(mpeg2.frame_rate_extension_flag);
    EXPECT_EQ(mpeg2.reserved, 0x1F);

    const auto mpeg1 = decode<DescriptorVideoStream>({0x02, 0x01, 0x1D});
    EXPECT_TRUE(mpeg1.MPEG_1_only_flag);
    EXPECT_TRUE(mpeg1.still_picture_flag);
    EXPECT_EQ(mpeg1.profile_and_level_indication, -1);
    EXPECT_EQ(mpeg1.chroma_format, -1);
    EXPECT_EQ(mpeg1.reserved, -1);
}

TEST(DescriptorDumps, WriteBodyNumbersInHex) {
    EXPECT_EQ(dump_of<DescriptorAudioStream>({0x03, 0x01, 0xE8}),
              "descriptor_tag: 03 audio_stream_descriptor\nfree_format_flag: 1\nID: 1\nlayer: 2\n"
              "variable_rate_audio_indicator: 1\n");
    EXPECT_EQ(dump_of<DescriptorISO639Language>({0x0A, 0x04, 'e', 'n', 'g', 0x0C}),
              "descriptor_tag: 0a ISO_639_language_descriptor\nISO_639_language_code: eng\naudio_type: c\n");
    EXPECT_EQ(dump_of<DescriptorCAIdentifier>({0x53, 0x02, 0x0B, 0x00}),
              "descriptor_tag: 53 CA_system_id_descriptor\nCA_system_id:b00\n");
    EXPECT_EQ(dump_of<DescriptorStreamIdentifier>({0x52, 0x01, 0x1F}),
              "descriptor_tag: 52 stream_identifier_descriptor\ncomponent_tag:1f\n");
    EXPECT_EQ(
        dump_of<DescriptorGeneric>({0x48, 0x02, 'T', 'V'}),
        "descriptor_tag: 48 User Private\ndata:\n54 56                                            : TV\n");
    EXPECT_EQ(decode<DescriptorGeneric>({0x04, 0x00}).name(), std::string("hierachy_descriptor"));
    EXPECT_EQ(decode_error<DescriptorGeneric>({0x04, 0x02, 0x00}), "too little data");
}

TEST(CaProviderName, NamesTheBlockOfTheSystemId) {
    EXPECT_STREQ(ca_provider_name(0x0622), "Irdeto");
    EXPECT_STREQ(ca_provider_name(0x1702), "BetaTechnik");
    EXPECT_STREQ(ca_provider_name(0x1800), "unknown provider");
    EXPECT_STREQ(ca_provider_name(0x0700), "unknown provider");
}

}  // namespace
}  // namespace lib13818
