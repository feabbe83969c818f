#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/tables/eit.h"
#include "lib13818/tables/rst.h"
#include "lib13818/tables/tdt.h"
#include "lib13818/tables/tot.h"
#include "lib13818/tests/si_sections.h"

namespace lib13818 {
namespace {

// EIT body head: transport_stream_id 1, original_network_id 0x85, segment_last 0, last_table_id 0x4E.
const Bytes eit_head = {0x00, 0x01, 0x00, 0x85, 0x00, 0x4E};

// An event starting 13/10/1993 12:45:00 for 1:45:30, running (4), scrambled, with `descriptors`.
Bytes event(std::uint16_t event_id, const Bytes& descriptors) {
    const std::size_t n = descriptors.size();
    return concat({{static_cast<std::uint8_t>(event_id >> 8), static_cast<std::uint8_t>(event_id), 0xC0, 0x79,
                    0x12, 0x45, 0x00, 0x01, 0x45, 0x30, static_cast<std::uint8_t>(0x90 | (n >> 8)),
                    static_cast<std::uint8_t>(n)},
                   descriptors});
}

TEST(EitDecode, ReadsEventsAndSortsDescriptorsByKind) {
    const Bytes descriptors = {0x4D, 0x07, 'e',  'n',  'g',  0x01, 'N',  0x01, 'T',  // short event
                               0x54, 0x02, 0x12, 0x00,                               // content
                               0x09, 0x04, 0x01, 0x00, 0xE1, 0x00,                   // CA: generic here
                               0x50, 0x06, 0x01, 0x03, 0x07, 'e',  'n',  'g',        // component
                               0x4F, 0x04, 0x00, 0x02, 0x00, 0x03,                   // time shifted
                               0x4E, 0x06, 0x01, 'e',  'n',  'g',  0x00, 0x00};      // extended
    const Eit eit =
        parse_as<Eit>(long_section(0x4E, 0x0102, concat({eit_head, event(7, descriptors), event(8, {})})));
    ASSERT_EQ(eit.events.size(), 2u);
    const EitEvent& e = eit.events[0];
    EXPECT_EQ(e.event_id, 7);
    EXPECT_EQ(e.descriptors_loop_length, static_cast<int32_t>(descriptors.size()));
    EXPECT_EQ(e.short_event.size(), 1u);
    EXPECT_EQ(e.extended_event.size(), 1u);
    EXPECT_EQ(e.time_shifted_event.size(), 1u);
    EXPECT_EQ(e.component.size(), 1u);
    EXPECT_EQ(e.content.size(), 1u);
    ASSERT_EQ(e.general.size(), 1u);
    EXPECT_EQ(e.general[0].descriptor_tag, 0x09);
    EXPECT_TRUE(eit.events[1].short_event.empty());
}

TEST(EitDecode, NamesByTableIdAndRefusesOthers) {
    const Eit schedule_other = parse_as<Eit>(long_section(0x65, 1, eit_head));
    EXPECT_STREQ(schedule_other.name(), "event_information_section - other_transport_stream, schedule");
    EXPECT_STREQ(parse_as<Eit>(long_section(0x4F, 1, eit_head)).name(),
                 "event_information_section - other_transport_stream, present/following");
    EXPECT_EQ(parse_error<Eit>(long_section(0x70, 1, eit_head)), "invalid table id");
}

TEST(EitDecode, EventsRunningPastTheirLoopThrow) {
    // The event claims 16 descriptor bytes where 4 are left before the CRC.
    Bytes overlong = event(1, {0x4F, 0x02, 0x00, 0x00});
    overlong[11] = 16;
    EXPECT_EQ(parse_error<Eit>(long_section(0x4E, 1, concat({eit_head, overlong}))),
              "descriptor start end mismatch");
    // Eleven bytes cannot hold an event head.
    const Bytes head = event(1, {});
    EXPECT_EQ(
        parse_error<Eit>(long_section(0x4E, 1, concat({eit_head, Bytes(head.begin(), head.end() - 1)}))),
        "too little data");
    // A descriptor running past its event's loop.
    EXPECT_EQ(parse_error<Eit>(long_section(0x4E, 1, concat({eit_head, event(1, {0x4D, 0x09})}))),
              "too little data");
}

TEST(EitDecode, Dump) {
    const Eit eit =
        parse_as<Eit>(long_section(0x4E, 0x0102, concat({eit_head, event(7, {0x4F, 0x04, 0, 0x1A, 0, 3})})));
    std::ostringstream out;
    eit.dump(out);
    EXPECT_EQ(out.str(),
              "service_id: 258\ntransport_stream_id: 1\noriginal_network_id: 133\n"
              "segment_last_section_number: 0\nlast_table_id: 78\n"
              "event_id: 7\nstart_time: 13/10-1993 12:45:0\nduration: 1:45:30\nrunning_status: 4\n"
              "free_CA_mode: 1\ndescriptors_length: 6\n"
              "descriptor_tag: 4f time_shifted_event_descriptor\n"
              "reference_service_id: 1a\nreference_event_id: 3\n");
}

TEST(TdtDecode, ReadsTheTimeAndNeedsAllOfIt) {
    std::ostringstream out;
    parse_as<Tdt>(short_section(0x70, {0xC0, 0x79, 0x12, 0x45, 0x00})).dump(out);
    EXPECT_EQ(out.str(), "table_id: 112\nsection_length: 5\nUTC_time: 13/10-1993 12:45:0\n");
    EXPECT_EQ(parse_error<Tdt>(short_section(0x70, {0xC0, 0x79, 0x12})), "too little data");
}

const Bytes tot_offset_descriptor = {0x58, 13,   'D',  'E',  'U',  0x02, 0x01, 0x00,
                                     0xC0, 0x79, 0x12, 0x45, 0x00, 0x02, 0x00};

TEST(TotDecode, SortsDescriptorsAndKeepsTheCrcUnchecked) {
    const Bytes body = concat({{0xC0, 0x79, 0x12, 0x45, 0x00, 0xF0, 19},
                               tot_offset_descriptor,
                               {0x40, 0x02, 'N', 'W'},
                               {0xDE, 0xAD, 0xBE, 0xEF}});
    const Tot tot = parse_as<Tot>(short_section(0x73, body));
    EXPECT_EQ(tot.UTC_time.year, 1993);
    ASSERT_EQ(tot.local_time_offset.size(), 1u);
    EXPECT_EQ(tot.local_time_offset[0].offsets.size(), 1u);
    ASSERT_EQ(tot.described.size(), 1u);
    EXPECT_EQ(tot.described[0].descriptor_tag, 0x40);
    EXPECT_EQ(tot.CRC_32, 0xDEADBEEFu);
    std::ostringstream out;
    tot.dump(out);
    EXPECT_EQ(out.str(),
              "table_id: 115\nsection_length: 30\nUTC_time: 13/10-1993 12:45:0\ncrc32: 3735928559\n"
              "descriptor_tag: 40 network_name_descriptor\ndescriptor_length 2\nnetwork_name NW\n");
}

TEST(TotDecode, LoopOverrunByOneDescriptorThrows) {
    // The loop length stops two bytes into the second descriptor.
    const Bytes body = concat({{0xC0, 0x79, 0x12, 0x45, 0x00, 0xF0, 17},
                               tot_offset_descriptor,
                               {0x40, 0x02, 'N', 'W'},
                               {0, 0, 0, 0}});
    EXPECT_EQ(parse_error<Tot>(short_section(0x73, body)), "descriptor start end mismatch");
    // A loop length past the section.
    EXPECT_EQ(parse_error<Tot>(short_section(0x73, {0xC0, 0x79, 0x12, 0x45, 0x00, 0xF0, 40})),
              "too little data");
}

TEST(RstDecode, EntriesOfNineBytes) {
    std::ostringstream out;
    parse_as<Rst>(short_section(0x71, {0x00, 0x01, 0x00, 0x85, 0x00, 0x02, 0x00, 0x03, 0x04})).dump(out);
    EXPECT_EQ(out.str(),
              "table_id: 113\nsection_length: 9\ntransport_stream_id: 1\noriginal_network_id: 133\n"
              "service_id: 2\nevent_id: 3\nrunning_status: 4\n");
    EXPECT_EQ(parse_error<Rst>(short_section(0x71, {0x00, 0x01, 0x00, 0x85, 0x00, 0x02, 0x00, 0x03})),
              "descriptor start end mismatch");
}

}  // namespace
}  // namespace lib13818
