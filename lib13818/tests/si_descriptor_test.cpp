#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/descriptors/component_descriptor.h"
#include "lib13818/descriptors/content_descriptor.h"
#include "lib13818/descriptors/extended_event_descriptor.h"
#include "lib13818/descriptors/local_time_offset_descriptor.h"
#include "lib13818/descriptors/satellite_delivery_system_descriptor.h"
#include "lib13818/descriptors/service_descriptor.h"
#include "lib13818/descriptors/service_list_descriptor.h"
#include "lib13818/descriptors/short_event_descriptor.h"
#include "lib13818/descriptors/time_shifted_event_descriptor.h"
#include "lib13818/tests/si_sections.h"

namespace lib13818 {
namespace {

TEST(SatelliteDeliveryDescriptor, DecodesBcdFieldsAndFlags) {
    const auto d = decode<DescriptorSatelliteDeliverySystem>(
        {0x43, 0x0B, 0x01, 0x17, 0x27, 0x43, 0x01, 0x92, 0xC1, 0x02, 0x75, 0x00, 0x03});
    EXPECT_DOUBLE_EQ(d.frequency, 11.72743);
    EXPECT_DOUBLE_EQ(d.orbital_position, 19.2);
    EXPECT_EQ(d.west_east_flag, 1);
    EXPECT_EQ(d.polarization, 2);
    EXPECT_EQ(d.modulation, 1);
    EXPECT_DOUBLE_EQ(d.symbol_rate, 27.5);
    EXPECT_EQ(d.FEC_inner, 3);
    EXPECT_EQ(decode<DescriptorSatelliteDeliverySystem>(
                  {0x43, 0x0B, 0x01, 0x17, 0x27, 0x43, 0x01, 0x92, 0x80, 0x02, 0x75, 0x00, 0x03})
                  .modulation,
              0);
    // Byte 8 as DVB-S2 reads it: roll-off 0.20, DVB-S2, 8PSK.
    const auto s2 = decode<DescriptorSatelliteDeliverySystem>(
        {0x43, 0x0B, 0x01, 0x23, 0x22, 0x00, 0x01, 0x92, 0x96, 0x02, 0x75, 0x00, 0x03});
    EXPECT_EQ(s2.frequency_10khz, 1232200u);
    EXPECT_EQ(s2.modulation, 0x16);
    EXPECT_EQ(s2.roll_off, 2);
    EXPECT_EQ(s2.modulation_system, 1);
    EXPECT_EQ(s2.modulation_type, 2);
    EXPECT_EQ(decode_error<DescriptorSatelliteDeliverySystem>({0x43, 0x04, 0x01, 0x17, 0x27, 0x43}),
              "too little data");
}

TEST(ServiceListDescriptor, EntriesOfThreeBytes) {
    const auto d = decode<DescriptorServiceList>({0x41, 0x06, 0x00, 0x01, 0x01, 0x12, 0x34, 0x02});
    ASSERT_EQ(d.services.size(), 2u);
    EXPECT_EQ(d.services[1].service_id, 0x1234);
    EXPECT_EQ(d.services[1].service_type, 2);
    EXPECT_TRUE(decode<DescriptorServiceList>({0x41, 0x00}).services.empty());
    EXPECT_EQ(decode_error<DescriptorServiceList>({0x41, 0x04, 0x00, 0x01, 0x01, 0x00}),
              "descriptor length mismatch");
}

TEST(ServiceDescriptor, NamesKeepTheirTableByteAndStayInside) {
    const auto d = decode<DescriptorService>({0x48, 0x08, 0x01, 0x02, 'A', 'B', 0x03, 0x05, 'T', 'V'});
    EXPECT_EQ(d.service_type, 1);
    EXPECT_EQ(d.provider_name, "AB");
    EXPECT_EQ(d.service_name, "\x05TV");
    // The service name claims 9 bytes where 2 remain.
    EXPECT_EQ(decode_error<DescriptorService>({0x48, 0x05, 0x01, 0x00, 0x09, 'T', 'V'}), "too little data");
}

TEST(ShortEventDescriptor, DropsTheTableSelectorAndKeepsItAside) {
    const auto d =
        decode<DescriptorShortEvent>({0x4D, 0x0A, 'd', 'e', 'u', 0x03, 0x05, 'N', 'e', 0x02, 'a', 'b'});
    EXPECT_STREQ(d.ISO_639_language_code.data(), "deu");
    EXPECT_EQ(d.event_name.text, "Ne");
    EXPECT_EQ(d.event_name.selector, "\x05");
    EXPECT_EQ(d.text.text, "ab");
    EXPECT_EQ(decode_error<DescriptorShortEvent>({0x4D, 0x06, 'd', 'e', 'u', 0x01, 'N', 0x05}),
              "too little data");
}

TEST(ExtendedEventDescriptor, ReadsItemsAndText) {
    const auto d = decode<DescriptorExtendedEvent>(
        {0x4E, 0x0F, 0x12, 'e', 'n', 'g', 0x07, 0x02, 'D', 'r', 0x03, 'B', 'o', 'b', 0x02, 'h', 'i'});
    EXPECT_EQ(d.descriptor_number, 1);
    EXPECT_EQ(d.last_descriptor_number, 2);
    ASSERT_EQ(d.items.size(), 1u);
    EXPECT_EQ(d.items[0].item_description.text, "Dr");
    EXPECT_EQ(d.items[0].item.text, "Bob");
    EXPECT_EQ(d.text.text, "hi");
}

TEST(ExtendedEventDescriptor, ItemsRunningPastTheirListThrow) {
    // The item claims 4 bytes where the list has 2 left after the description.
    EXPECT_EQ(decode_error<DescriptorExtendedEvent>(
                  {0x4E, 0x0C, 0x00, 'e', 'n', 'g', 0x05, 0x01, 'D', 0x04, 'B', 'o', 0x00, 'x', 'y'}),
              "data length mismatch");
    // The description alone reaches the end of the list: no item length byte is left in it.
    EXPECT_EQ(decode_error<DescriptorExtendedEvent>({0x4E, 0x08, 0x00, 'e', 'n', 'g', 0x02, 0x01, 'D', 0x00}),
              "data length mismatch");
    // The item list claims more bytes than the descriptor has.
    EXPECT_EQ(decode_error<DescriptorExtendedEvent>({0x4E, 0x06, 0x00, 'e', 'n', 'g', 0x30, 0x00}),
              "too little data");
}

TEST(ComponentDescriptor, TextIsWhatFollowsTheFields) {
    const auto d = decode<DescriptorComponent>({0x50, 0x09, 0xF2, 0x03, 0x01, 'f', 'r', 'a', 'A', 'B', 'C'});
    EXPECT_EQ(d.stream_content, 2);
    EXPECT_EQ(d.text.text, "ABC");
    EXPECT_EQ(decode_error<DescriptorComponent>({0x50, 0x03, 0x02, 0x03, 0x01}), "too little data");
}

TEST(ContentDescriptor, SplitsNibblesAndNeedsPairs) {
    const auto d = decode<DescriptorContent>({0x54, 0x04, 0x12, 0x34, 0xAB, 0xCD});
    ASSERT_EQ(d.items.size(), 2u);
    EXPECT_EQ(d.items[1].content_nibble_level1, 0xA);
    EXPECT_EQ(d.items[1].user_nibble2, 0xD);
    EXPECT_EQ(decode_error<DescriptorContent>({0x54, 0x03, 0x12, 0x34, 0xAB}), "descriptor length mismatch");
}

Bytes local_time_offset_entry(std::uint8_t region) {
    return {'D', 'E', 'U', region, 0x01, 0x00, 0xC0, 0x79, 0x12, 0x45, 0x00, 0x02, 0x00};
}

TEST(LocalTimeOffsetDescriptor, EntriesOfThirteenBytes) {
    const auto d = decode<DescriptorLocalTimeOffset>(
        concat({{0x58, 26}, local_time_offset_entry(0x0F), local_time_offset_entry(0x00)}));
    ASSERT_EQ(d.offsets.size(), 2u);
    const auto& o = d.offsets[0];
    EXPECT_EQ(o.country_region_id, 3);
    EXPECT_EQ(o.local_time_offset_polarity, 1);
    EXPECT_EQ(o.time_of_change.minute, 45);
    EXPECT_EQ(o.next_time_offset.hours, 2);
    EXPECT_EQ(
        decode_error<DescriptorLocalTimeOffset>(concat({{0x58, 14}, local_time_offset_entry(0), {0x44}})),
        "descriptor start end mismatch");
}

TEST(SiDescriptorDump, WritesFieldsInHexAfterTheHeader) {
    std::ostringstream out;
    decode<DescriptorService>({0x48, 0x08, 0x19, 0x02, 'A', 'B', 0x03, 'T', 'V', '1'}).dump(out);
    decode<DescriptorTimeShiftedEvent>({0x4F, 0x04, 0x00, 0x20, 0x00, 0x0A}).dump(out);
    EXPECT_EQ(out.str(),
              "descriptor_tag: 48 service_descriptor\n"
              "service_type 19\nprovider_name AB\nservice_name TV1\n"
              "descriptor_tag: 4f time_shifted_event_descriptor\n"
              "reference_service_id: 20\nreference_event_id: a\n");
}

}  // namespace
}  // namespace lib13818
