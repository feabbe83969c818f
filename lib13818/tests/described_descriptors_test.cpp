#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/field_reader.h"
#include "lib13818/fields/field_text.h"
#include "lib13818/tests/described_helpers.h"

namespace lib13818 {
namespace {

TEST(DescribedDescriptors, AudioNamesRatingsAndDataDescriptors) {
    const std::vector<described_case> cases = {
        {"AC-3 with component type and bsid",
         descriptor(0x6A, {0xC0, 0x42, 0x0A}),
         &descriptions::AC3,
         {{"component_type", 0x42}, {"bsid", 0x0A}, {"mainid", {}}, {"asvc", {}}}},
        {"enhanced AC-3 with a substream",
         descriptor(0x7A, {0x84, 0x42, 0x05, 0xAB}),
         &descriptions::enhanced_AC3,
         {{"component_type", 0x42}, {"bsid", {}}, {"substream1", 5}, {"substream2", {}}}},
        {"AAC of one byte",
         descriptor(0x7C, {0x58}),
         &descriptions::AAC,
         {{"profile_and_level", 0x58}, {"AAC_type", {}}}},
        {"AAC with its type", descriptor(0x7C, {0x58, 0x80, 0x03}), &descriptions::AAC, {{"AAC_type", 3}}},
        {"subtitling",
         descriptor(0x59, {'e', 'n', 'g', 0x10, 0x00, 0x01, 0x00, 0x02}),
         &descriptions::subtitling,
         {{"subtitles/0/subtitling_type", 0x10},
          {"subtitles/0/composition_page_id", 1},
          {"subtitles/0/ancillary_page_id", 2}}},
        {"parental rating",
         descriptor(0x55, {'F', 'R', 'A', 0x09, 'D', 'E', 'U', 0x00}),
         &descriptions::parental_rating,
         {{"countries/0/rating", 9}, {"countries/1/rating", 0}}},
        {"data broadcast id",
         descriptor(0x66, {0x01, 0x23}),
         &descriptions::data_broadcast_id,
         {{"data_broadcast_id", 0x123}}},
        {"application signalling",
         descriptor(0x6F, {0x80, 0x10, 0xE1}),
         &descriptions::application_signalling,
         {{"applications/0/application_type", 0x10}, {"applications/0/AIT_version_number", 1}}},
        {"carousel identifier, enhanced boot",
         descriptor(0x13, {0x00, 0x00, 0x00, 0x01, 0x01, 0x02, 0x00, 0x03, 0x0F, 0xA0, 0x00, 0x00,
                           0x10, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0xFF, 0x02, 0xAA, 0xBB}),
         &descriptions::carousel_identifier,
         {{"carousel_id", 1},
          {"module_id", 3},
          {"block_size", 4000},
          {"timeout", 0xFF},
          {"object_key_length", 2}}},
        {"carousel identifier, standard boot",
         descriptor(0x13, {0x00, 0x00, 0x00, 0x07, 0x00, 0xEE}),
         &descriptions::carousel_identifier,
         {{"carousel_id", 7}, {"module_id", {}}}},
        {"association tag with a transaction id",
         descriptor(0x14, {0x00, 0x0B, 0x00, 0x00, 0x08, 0x80, 0x00, 0x00, 0x02, 0xFF, 0xFF, 0xFF, 0xFF}),
         &descriptions::association_tag,
         {{"association_tag", 0x0B}, {"transaction_id", 0x80000002}, {"timeout", 0xFFFFFFFF}}},
        {"association tag with selector bytes",
         descriptor(0x14, {0x00, 0x0C, 0x01, 0x00, 0x02, 0xAB, 0xCD, 0xEE}),
         &descriptions::association_tag,
         {{"use", 0x100}, {"transaction_id", {}}}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedDescriptors, BytesTextsAndNamesOfValues) {
    const loop_result loop =
        read_loop(concat({descriptor(0x40, {0x05, 'N', 'e', 't'}), descriptor(0x55, {'F', 'R', 'A', 0x09}),
                          descriptor(0x13, {0x00, 0x00, 0x00, 0x07, 0x00, 0xEE})}));
    ASSERT_EQ(loop.described.size(), 3u);
    EXPECT_EQ(loop.described[0].bytes("network_name"), "\x05Net");
    const described_record country = loop.described[1].records("countries").front();
    EXPECT_EQ(value_name_of(*country.find("rating")->spec, 9), "minimum age 12");
    EXPECT_EQ(value_name_of(*country.find("rating")->spec, 0x20), "defined by the broadcaster");
    EXPECT_EQ(loop.described[2].bytes("private_data_byte"), "\xEE");
}

// (tag, specifier, service_id and number of the first channel, or none for a private
// descriptor that stays undecoded).
struct scoped {
    std::uint8_t tag;
    std::uint64_t specifier;
    std::optional<std::uint64_t> number;
};

TEST(DescribedDescriptors, PrivateDescriptorsFollowTheSpecifierBeforeThem) {
    // One channel: service 0x0101, visible, number bits 0x2AB under EACEM's 10 bits, 0x3EAB
    // under NorDig's 14.
    const Bytes channel = descriptor(0x83, {0x01, 0x01, 0xFE, 0xAB});
    const Bytes hd_channel = descriptor(0x88, {0x01, 0x01, 0xFE, 0xAB});
    auto pds = [](std::uint32_t value) {
        return descriptor(0x5F,
                          {static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
                           static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)});
    };
    const loop_result loop = read_loop(
        concat({channel, pds(0x28), channel, hd_channel, pds(0x29), channel, pds(0x12345678), channel}));
    EXPECT_TRUE(loop.warnings.empty());
    const std::vector<scoped> expected = {
        {0x83, decoded_field::no_specifier, {}},
        {0x5F, 0, {}},
        {0x83, 0x28, 0x2AB},
        {0x88, 0x28, 0x2AB},
        {0x5F, 0, {}},
        {0x83, 0x29, 0x3EAB},
        {0x5F, 0, {}},
        {0x83, 0x12345678, {}},
    };
    ASSERT_EQ(loop.described.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const DescriptorDescribed& d = loop.described[i];
        EXPECT_EQ(d.descriptor_tag, expected[i].tag);
        if (expected[i].tag == 0x5F) continue;
        if (!expected[i].number) {
            EXPECT_TRUE(d.is(descriptions::user_defined)) << d.name();
            EXPECT_EQ(d.number("private_data_specifier"), expected[i].specifier);
            EXPECT_EQ(d.bytes("private_data"), "\x01\x01\xFE\xAB");
            continue;
        }
        const described_record first = d.records("channels").front();
        EXPECT_EQ(first.number("service_id"), 0x0101u);
        EXPECT_EQ(first.number("visible_service_flag"), 1u);
        EXPECT_EQ(first.number("logical_channel_number"), expected[i].number);
        expect_tiled(d);
    }
    // The scope ends with its loop.
    EXPECT_TRUE(read_loop(channel).described.at(0).is(descriptions::user_defined));
}

// The kinds no catalogued descriptor uses yet, in a description of the tests' own: times,
// durations, counted texts, loops counted by a field, variants chosen by a value.
namespace change_notice {
using namespace describe;
constexpr field item_fields[] = {uimsbf("item_id", 8)};
constexpr record item{"item", item_fields};
constexpr field variant_fields[] = {uimsbf("target", 16).hex(4)};
constexpr record variant{"variant", variant_fields};
constexpr field fields[] = {
    utc_time("start_of_change"),
    duration("change_duration"),
    length("text_length", 8),
    text("text", bytes_in("text_length")),
    uimsbf("count", 4),
    reserved(4),
    loop("items", item, records_in("count")),
    group(variant).when_in("count", 1, 2),
};
constexpr description notice{.name = "change_notice_descriptor", .tag = 0xF0, .body = {"", fields}};
}  // namespace change_notice

TEST(DescribedDescriptors, TimesCountedTextsCountedLoopsAndVariants) {
    const Bytes bytes = descriptor(0xF0, {0xC0, 0x79, 0x12, 0x45, 0x00, 0x01, 0x45, 0x30, 0x02, 0x05, 'A',
                                          0x20, 0x07, 0x08, 0xAB, 0xCD});
    DescriptorDescribed d;
    std::vector<SectionWarning> warnings;
    ASSERT_TRUE(read_described(change_notice::notice, reader(bytes.data(), bytes.size()),
                               decoded_field::no_specifier, d, warnings));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(d.bytes("text"),
              "\x05"
              "A");
    EXPECT_EQ(quantity_at(d, "items/1/item_id"), 8u);
    EXPECT_EQ(d.number("target"), 0xABCDu);
    expect_tiled(d);
    std::ostringstream out;
    d.dump(out);
    EXPECT_EQ(out.str(),
              "descriptor_tag: f0 change_notice_descriptor\ndescriptor_length 16\n"
              "start_of_change 13/10-1993 12:45:0\nchange_duration 1:45:30\ntext_length 2\ntext A\ncount 2\n"
              "  item_id 7\n  item_id 8\ntarget 43981\n");
}

}  // namespace
}  // namespace lib13818
