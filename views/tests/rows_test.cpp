#include <gtest/gtest.h>

#include "views/row_list.h"
#include "views/table_tree.h"
#include "views/tests/scan_fixture.h"

namespace kestrel::views {
namespace {

using namespace testing;

std::string names(const std::vector<value_row>& rows) {
    std::string out;
    for (const auto& row : rows)
        out += (out.empty() ? "" : ",") + row.name;
    return out;
}

std::vector<value_row> rows(const record_ref& record) {
    lib13818::dvb_text_decoder text;
    return value_rows(record, text);
}

TEST(ValueRows, EachRecordKindShowsItsFieldNames) {
    const lib::Cat cat;
    const lib::Pat pat;
    const lib::Pmt pmt;
    const lib::ElementaryStream es;
    const lib::Nit nit;
    const lib::NitTransportStream nit_ts;
    const lib::Sdt sdt;
    const lib::SdtService service;
    const lib::Bat bat;
    const lib::Eit eit;
    const lib::EitEvent event;
    const lib::Rst rst;
    const lib::RstEntry rst_entry;
    const lib::Tdt tdt;
    const lib::Tot tot;
    const lib::DescriptorCA ca;
    const lib::DescriptorGeneric generic;
    const lib::DescriptorVideoStream video;
    const lib::DescriptorISO639Language iso639;
    const lib::DescriptorISO639Language::Language language;
    const lib::DescriptorSatelliteDeliverySystem delivery;
    const lib::DescriptorService service_d;
    const lib::DescriptorServiceList service_list;
    const lib::DescriptorServiceList::Service listed;
    const lib::DescriptorTeletext teletext;
    const lib::DescriptorTeletext::Page page;
    const lib::DescriptorComponent component;
    const lib::DescriptorExtendedEvent extended;
    const lib::DescriptorExtendedEvent::Item item;
    const lib::DescriptorShortEvent short_event;
    const lib::DescriptorTimeShiftedEvent shifted;
    const lib::DescriptorContent content;
    const lib::DescriptorContent::Item content_item;
    const lib::DescriptorLocalTimeOffset offsets;
    const lib::DescriptorLocalTimeOffset::Offset offset;
    const lib::DescriptorCopyright copyright;
    const lib::DescriptorCAIdentifier ca_identifier;
    const std::int32_t ca_id = 0x0B00;
    const lib::DescriptorAudioStream audio;
    const lib::DescriptorSTD std_d;
    const lib::DescriptorPrivateDataIndicator private_data;
    const lib::DescriptorStreamIdentifier stream_id;

    const std::pair<record_ref, const char*> expected[] = {
        {&cat,
         "TABLE ID,SECTION SYNTAX INDICATOR,SECTION LENGTH,VERSION NUMBER,CURRENT NEXT INDICATOR,SECTION "
         "NUMBER,LAST SECTION NUMBER,CRC 32"},
        {&pat,
         "TABLE ID,SECTION SYNTAX INDICATOR,SECTION LENGTH,TRANSPORT STREAM ID,VERSION NUMBER,CURRENT NEXT "
         "INDICATOR,SECTION NUMBER,LAST SECTION NUMBER,CRC 32"},
        {&pmt,
         "TABLE ID,SECTION SYNTAX INDICATOR,RESERVED,SECTION LENGTH,PROGRAM NUMBER,RESERVED,VERSION "
         "NUMBER,CURRENT NEXT INDICATOR,SECTION NUMBER,LAST SECTION NUMBER,RESERVED,PCR PID,PROGRAM INFO "
         "LENGTH,CRC 32"},
        {&es, "STREAM TYPE,RESERVED,ELEMENTARY PID,RESERVED,ES INFO LENGTH"},
        {&nit,
         "TABLE_ID,SECTION_SYNTAX_INDICATOR,RESERVED_FUTURE_USE,RESERVED,SECTION_LENGTH,NETWORK_ID,RESERVED,"
         "VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,LAST_SECTION_NUMBER,RESERVED_FUTURE_USE,"
         "NETWORK_DESCRIPTORS_LEN,RESERVED_FUTURE_USE,TRANSPORT_STREAM_LOOP_LENGTH,CRC_32"},
        {&nit_ts, "TRANSPORT_STREAM_ID,ORIGINAL_NETWORK_ID,RESERVED_FUTURE_USE,TRANSPORT_DESCRIPTORS_LENGTH"},
        {&sdt,
         "TABLE_ID,SECTION_SYNTAX_INDICATOR,RESERVED_FUTURE_USE,RESERVED,SECTION_LENGTH,TRANSPORT_STREAM_ID,"
         "RESERVED,VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,LAST_SECTION_NUMBER,ORIGINAL_NETWORK_"
         "ID,RESERVED_FUTURE_USE,CRC_32"},
        {&service,
         "SERVICE_ID,RESERVED_FUTURE_USE,EIT_SCHEDULE_FLAG,EIT_PRESENT_FOLLOWING_FLAG,RUNNING_STATUS,FREE_CA_"
         "MODE,DESCRIPTORS_LOOP_LENGTH"},
        {&bat,
         "TABLE_ID,SECTION_LENGTH,BOUQUET_ID,VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,CRC32"},
        {&eit,
         "TABLE_ID,SECTION_LENGTH,SERVICE_ID,VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,LAST_"
         "SECTION_NUMBER,TRANSPORT_STREAM_ID,ORIGINAL_NETWORK_ID,LAST_TABLE_ID,CRC_32"},
        {&event, "EVENT_ID,START_TIME,DURATION,RUNNING_STATUS,FREE_CA_MODE"},
        {&rst, "TABLE_ID,SECTION_LENGTH"},
        {&rst_entry, "TRANSPORT_STREAM_ID,ORIGINAL_NETWORK_ID,SERVICE_ID,EVENT_ID,RUNNING_STATUS"},
        {&tdt, "TABLE_ID,SECTION_LENGTH,UTC_TIME"},
        {&tot, "TABLE_ID,SECTION_LENGTH,UTC_TIME,CRC_32"},
        {&ca, "DESCRIPTOR TAG,DESCRIPTOR LENGTH,SYS_ID,PID,PRIVATE BYTES"},
        {&generic, "DESCRIPTOR TAG,DESCRIPTOR LENGTH,PRIVATE DATA"},
        {&video,
         "MULTIPLE FRAME RATE,FRAME RATE CODE,MPEG 1 ONLY,CONSTRAINED PARAMETER FLAG,STILL PICTURE,PROFILE "
         "AND LEVEL INDICATION,CHROMA FORMAT,FRAME RATE EXTENSION,RESERCED"},
        {&iso639, "DESCRIPTOR TAG,DESCRIPTOR LENGTH"},
        {&language, "ISO 639 LANGUAGE CODE,AUDIO TYPE"},
        {&delivery,
         "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,FREQUENCY,ORBITAL_POSITION,WEST_EAST_FLAG,POLARIZATION,MODULATION,"
         "SYMBOL_RATE,FEC_INNER"},
        {&service_d,
         "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,SERVICE_TYPE,SERVICE_PROVIDER_NAME_LENGTH,SERVICE_PROVIDER_NAME,"
         "SERVICE_NAME_LENGTH,SERVICE_NAME"},
        {&service_list, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH"},
        {&listed, "SERVICE_ID,SERVICE_TYPE"},
        {&teletext, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH"},
        {&page, "ISO_639_LANGUAGE_CODE,TELETEXT_TYPE,TELETEXT_MAGAZINE_NUMBER,TELETEXT_PAGE_NUMBER"},
        {&component,
         "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,STREAM_CONTENT,COMPONENT_TYPE,COMPONENT_TAG,ISO_639_LANGUAGE_CODE,"
         "TEXT"},
        {&extended, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,DESCRIPTOR_NUMBER,ISO_639_LANGUAGE_CODE,TEXT"},
        {&item, "DESCRIPTION,ITEM"},
        {&short_event, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,ISO_639_LANGUAGE_CODE,EVENT_NAME,EVENT_TEXT"},
        {&shifted, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,REFERENCE_SERVICE_ID,REFERENCE_EVENT_ID"},
        {&content, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH"},
        {&content_item, "CONTENT_NIBBLE_LEVEL_1,CONTENT_NIBBLE_LEVEL_2,USER_NIBBLE1,USER_NIBBLE2"},
        {&offsets, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH"},
        {&offset,
         "COUNTRY_CODE,COUNTRY_REGION_ID,LOCAL_TIME_OFFSET_POLARITY,LOCAL_TIME_OFFSET,TIME_OF_CHANGE,NEXT_"
         "TIME_OFFSET"},
        {&copyright, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,COPYRIGHT_IDENTIFIER,ADDITIONAL_COPYRIGHT_INFO"},
        {&ca_identifier, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH"},
        {ca_system_id{&ca_id}, "CA_SYSTEM_ID"},
        {&audio, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,FREE_FORMAT_FLAG,ID,LAYER,VARIABLE_RATE_AUDIO_INDICATOR"},
        {&std_d, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,LEAK_VALID_FLAG"},
        {&private_data, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,PRIVATE_DATA_INDICATOR"},
        {&stream_id, "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,COMPONENT_TAG"},
    };
    // Every record kind but the monostate, the network and the transponder.
    EXPECT_EQ(std::size(expected), std::variant_size_v<record_ref> - 3);
    for (const auto& [record, list] : expected)
        EXPECT_EQ(names(rows(record)), list) << "record kind " << record.index();
}

std::string value(const std::vector<value_row>& rows, std::string_view name) {
    for (const auto& row : rows)
        if (row.name == name) return row.value;
    return "<no row " + std::string(name) + ">";
}

TEST(ValueRows, TrapValues) {
    lib::DescriptorVideoStream video;
    video.MPEG_1_only_flag = true;
    EXPECT_EQ(value(rows(&video), "PROFILE AND LEVEL INDICATION"), "N/A");
    EXPECT_EQ(value(rows(&video), "RESERCED"), "N/A");
    video.MPEG_1_only_flag = false;
    video.profile_and_level_indication = 0x48;
    EXPECT_EQ(value(rows(&video), "PROFILE AND LEVEL INDICATION"), "72");

    lib::DescriptorCA ca(0x0B00, 0x1F0);
    ca.descriptor_tag = 9;
    auto ca_rows = rows(&ca);
    EXPECT_EQ(ca_rows[0].value, "0009");
    EXPECT_EQ(ca_rows[2].value, "0B00 - <unknown>");
    EXPECT_EQ(ca_rows[3].kind, row_kind::pid);
    EXPECT_EQ(ca_rows[3].pid, 0x1F0);
    EXPECT_EQ(ca_rows[4].value, "");
    EXPECT_EQ(ca_rows[4].kind, row_kind::plain);
    ca.private_data.assign(150, 0xAB);
    ca_rows = rows(&ca);
    EXPECT_EQ(ca_rows[4].value.size(), 100u * 3 - 1);
    EXPECT_EQ(ca_rows[4].value.substr(294), "AB AB");
    EXPECT_EQ(ca_rows[4].kind, row_kind::bytes);
    EXPECT_EQ(ca_rows[4].bytes, &ca.private_data);

    lib::DescriptorSatelliteDeliverySystem delivery;
    delivery.descriptor_tag = 0x43;
    delivery.frequency = 11.778;
    delivery.symbol_rate = 27.5;
    delivery.west_east_flag = 1;
    const auto delivery_rows = rows(&delivery);
    EXPECT_EQ(delivery_rows[0].value, "43");
    EXPECT_EQ(delivery_rows[2].value, "11778.00");
    EXPECT_EQ(delivery_rows[4].value, "1 - east");
    EXPECT_EQ(delivery_rows[7].value, "27500.0");
    delivery.west_east_flag = 0;
    EXPECT_EQ(value(rows(&delivery), "WEST_EAST_FLAG"), "0 - west");

    const lib::UtcTime march{5, 3, 2003, 7, 5, 9};
    lib::Tdt tdt;
    tdt.UTC_time = march;
    EXPECT_EQ(value(rows(&tdt), "UTC_TIME"), "5/3/2003 7:5:9");
    lib::EitEvent event;
    event.start_time = march;
    event.duration = {1, 5, 0};
    EXPECT_EQ(value(rows(&event), "START_TIME"), "5/3/2003 7:05:09");
    EXPECT_EQ(value(rows(&event), "DURATION"), "1:05:00");

    lib::DescriptorGeneric generic;
    generic.descriptor_tag = 0xAB;
    lib::DescriptorAudioStream audio;
    audio.descriptor_tag = 0xAB;
    EXPECT_EQ(rows(&generic)[0].value, "00AB");
    EXPECT_EQ(rows(&audio)[0].value, "00ab");

    lib::DescriptorCopyright copyright;
    copyright.copyright_identifier = 7;
    EXPECT_EQ(value(rows(&copyright), "COPYRIGHT_IDENTIFIER"), "");
}

TEST(ValueRows, NamesAreDecodedOnOneLine) {
    lib::DescriptorService service;
    service.service_name =
        "\x05"
        "Caf\xE9\nNews";
    const auto service_rows = rows(&service);
    EXPECT_EQ(value(service_rows, "SERVICE_NAME_LENGTH"), "10");
    EXPECT_EQ(value(service_rows, "SERVICE_NAME"), "Caf\u00E9 News");

    AllNetworks networks;
    add_transponder(networks, 0x2F00, 1, tuned(1), 0);
    table_tree tree(networks, {.charset = "ISO-8859-15"});
    EXPECT_EQ(tree.decoder_for(*tree.root().children.at(0)->children.at(0)).default_charset(), "ISO-8859-15");
}

}  // namespace
}  // namespace kestrel::views
