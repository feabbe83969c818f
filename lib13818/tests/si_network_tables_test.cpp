#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/tables/bat.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tests/si_sections.h"

namespace lib13818 {
namespace {

// A 12-bit loop length with its four reserved bits set, as broadcasters send it.
Bytes length12(std::size_t n) {
    return {static_cast<std::uint8_t>(0xF0 | (n >> 8)), static_cast<std::uint8_t>(n)};
}

Bytes transport_stream(std::uint16_t tsid, const Bytes& descriptors) {
    return concat({{static_cast<std::uint8_t>(tsid >> 8), static_cast<std::uint8_t>(tsid), 0x00, 0x85},
                   length12(descriptors.size()),
                   descriptors});
}

// A NIT or BAT body: the first loop, then the transport stream loop.
Bytes network_body(const Bytes& first_loop, const Bytes& streams) {
    return concat({length12(first_loop.size()), first_loop, length12(streams.size()), streams});
}

const Bytes network_name = {0x40, 0x03, 'N', 'e', 't'};
const Bytes ca = {0x09, 0x04, 0x06, 0x22, 0xE1, 0x00};
const Bytes satellite = {0x43, 0x0B, 0x01, 0x17, 0x27, 0x43, 0x01, 0x92, 0xC1, 0x02, 0x75, 0x00, 0x03};
const Bytes service_list = {0x41, 0x03, 0x00, 0x07, 0x01};

TEST(NitDecode, SortsNetworkAndTransportStreamDescriptors) {
    const Nit nit = parse_as<Nit>(long_section(
        0x40, 0x0002,
        network_body(concat({network_name, ca}),
                     concat({transport_stream(1, concat({satellite, service_list, ca, {0x5F, 0x00}})),
                             transport_stream(2, {})}))));
    EXPECT_TRUE(nit.descriptors.empty());
    ASSERT_EQ(nit.described.size(), 1u);
    EXPECT_EQ(nit.described[0].bytes("network_name"), "Net");
    ASSERT_EQ(nit.CA.size(), 1u);
    EXPECT_EQ(nit.CA[0].CA_system_ID, 0x0622);
    ASSERT_EQ(nit.transport_streams.size(), 2u);
    const NitTransportStream& ts = nit.transport_streams[0];
    ASSERT_EQ(ts.satellite_delivery_system.size(), 1u);
    EXPECT_DOUBLE_EQ(ts.satellite_delivery_system[0].frequency, 11.72743);
    ASSERT_EQ(ts.service_list.size(), 1u);
    EXPECT_EQ(ts.service_list[0].services[0].service_id, 7);
    EXPECT_EQ(ts.CA.size(), 1u);
    // A private_data_specifier too short for its specifier stays generic, with a warning.
    EXPECT_EQ(ts.general.size(), 1u);
    EXPECT_EQ(nit.warnings.size(), 1u);
    EXPECT_TRUE(nit.transport_streams[1].general.empty());
}

TEST(NitDecode, LoopsRunningPastTheirEndThrow) {
    // Five bytes left in the transport stream loop: less than an entry head.
    const Bytes head = transport_stream(1, {});
    EXPECT_EQ(parse_error<Nit>(long_section(0x40, 1, network_body({}, Bytes(head.begin(), head.end() - 1)))),
              "too little data");
    // An entry whose descriptors claim more than its loop holds.
    Bytes overlong = transport_stream(1, service_list);
    overlong[5] += 1;
    EXPECT_EQ(parse_error<Nit>(long_section(0x40, 1, network_body({}, overlong))),
              "descriptor start end mismatch");
    // A first loop longer than the section.
    EXPECT_EQ(parse_error<Nit>(long_section(0x40, 1, concat({length12(40), network_name}))),
              "too little data");
    // A service list of a length that is no whole number of entries.
    EXPECT_EQ(parse_error<Nit>(
                  long_section(0x40, 1, network_body({}, transport_stream(1, {0x41, 0x02, 0x00, 0x01})))),
              "descriptor length mismatch");
}

// A body whose transport_stream_loop_length says `declared` whatever the loop holds.
Bytes misdeclared_body(const Bytes& first_loop, const Bytes& streams, std::size_t declared) {
    return concat({length12(first_loop.size()), first_loop, length12(declared), streams});
}

TEST(NitDecode, ReadsWholeEntriesPastAMisdeclaredLoopLengthWithAWarning) {
    // The loop length counts only the entry's 6-byte head; its service list follows.
    const Nit nit = parse_as<Nit>(long_section(
        0x40, 0xFF44, misdeclared_body(network_name, transport_stream(0x4081, service_list), 6)));
    ASSERT_EQ(nit.transport_streams.size(), 1u);
    EXPECT_EQ(nit.transport_streams[0].transport_stream_id, 0x4081);
    EXPECT_EQ(nit.transport_streams[0].service_list.size(), 1u);
    const SectionWarning expected{15,
                                  "transport_stream_loop_length 6 disagrees with the 11 bytes before the "
                                  "CRC_32, which hold whole entries: read those"};
    EXPECT_EQ(nit.warnings, std::vector<SectionWarning>{expected});
    std::ostringstream out;
    nit.dump(out);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "warning at byte 15: " + expected.text);

    // Longer than the section, and the bytes left are whole entries: read them too.
    const Bat bat = parse_as<Bat>(long_section(0x4A, 1, misdeclared_body({}, transport_stream(1, ca), 40)));
    EXPECT_EQ(bat.transport_streams.size(), 1u);
    EXPECT_EQ(bat.warnings.size(), 1u);
    // Bytes left that are no whole entries: the declared length rules and the fault stands.
    Bytes broken = transport_stream(1, service_list);
    broken.pop_back();
    EXPECT_EQ(parse_error<Nit>(long_section(0x40, 1, misdeclared_body({}, broken, 6))),
              "descriptor start end mismatch");
    EXPECT_EQ(parse_error<Bat>(long_section(0x4A, 1, misdeclared_body({}, {}, 6))), "too little data");
    EXPECT_TRUE(
        parse_as<Nit>(long_section(0x40, 1, network_body({}, transport_stream(1, {})))).warnings.empty());
}

TEST(NitDecode, DumpsTransportStreamsWithTheirDescriptors) {
    std::ostringstream out;
    parse_as<Nit>(long_section(0x40, 1, network_body(network_name, transport_stream(1, service_list))))
        .dump(out);
    const Nit other = parse_as<Nit>(long_section(0x41, 1, network_body({}, transport_stream(16, {}))));
    EXPECT_STREQ(other.name(), "network_information_section - other_transport_network");
    other.dump(out);
    EXPECT_EQ(out.str(),
              "descriptor_tag: 40 network_name_descriptor\ndescriptor_length 3\nnetwork_name Net\n"
              "stream_id 1\noriginal_network_id 133\n"
              "descriptor_tag: 41 service_list_descriptor\nservice_id 7\nservice_type 1\n"
              "stream_id 16\noriginal_network_id 133\n");
}

TEST(BatDecode, KeepsDeliveryDescriptorsGeneric) {
    const Bat bat = parse_as<Bat>(
        long_section(0x4A, 0x1001, network_body(ca, transport_stream(1, concat({satellite, ca})))));
    EXPECT_EQ(bat.CA.size(), 1u);
    ASSERT_EQ(bat.transport_streams.size(), 1u);
    ASSERT_EQ(bat.transport_streams[0].general.size(), 1u);
    EXPECT_EQ(bat.transport_streams[0].general[0].descriptor_tag, 0x43);
    EXPECT_EQ(bat.transport_streams[0].CA.size(), 1u);
    EXPECT_EQ(parse_error<Bat>(long_section(0x4B, 1, network_body({}, {}))), "invalid table id");
}

Bytes service(std::uint16_t id, const Bytes& descriptors) {
    // EIT schedule 0, present/following 1, running (4), free_CA_mode 1.
    const std::size_t n = descriptors.size();
    return concat({{static_cast<std::uint8_t>(id >> 8), static_cast<std::uint8_t>(id), 0xFD,
                    static_cast<std::uint8_t>(0x90 | (n >> 8)), static_cast<std::uint8_t>(n)},
                   descriptors});
}

const Bytes sdt_head = {0x00, 0x85, 0xFF};
const Bytes tv_service = {0x48, 0x09, 0x01, 0x03, 'B', 'B', 'C', 0x03, 0x05, 'T', 'V'};

TEST(SdtDecode, ReadsServicesAndSortsTheirDescriptors) {
    const Sdt sdt = parse_as<Sdt>(long_section(
        0x46, 0x0001, concat({sdt_head, service(0x10, concat({tv_service, ca})), service(0x11, {})})));
    EXPECT_STREQ(sdt.name(), "service_description_section - other_transport_stream");
    EXPECT_EQ(sdt.original_network_id, 0x85);
    ASSERT_EQ(sdt.services.size(), 2u);
    const SdtService& s = sdt.services[0];
    ASSERT_EQ(s.service.size(), 1u);
    EXPECT_EQ(s.service[0].provider_name, "BBC");
    EXPECT_EQ(s.CA.size(), 1u);
    // A service with an empty descriptor loop occupies its 5-byte head only.
    EXPECT_EQ(sdt.services[1].service_id, 0x11);
}

TEST(SdtDecode, ServicesRunningPastTheirLoopThrow) {
    EXPECT_EQ(parse_error<Sdt>(long_section(0x42, 1, concat({sdt_head, {0x00, 0x10, 0xFD, 0x90}}))),
              "too little data");
    Bytes overlong = service(0x10, tv_service);
    overlong[4] += 2;
    EXPECT_EQ(parse_error<Sdt>(long_section(0x42, 1, concat({sdt_head, overlong}))),
              "descriptor start end mismatch");
    // A service descriptor whose name claims more than the descriptor holds.
    Bytes long_name = service(0x10, tv_service);
    long_name[12] = 0x08;
    EXPECT_EQ(parse_error<Sdt>(long_section(0x42, 1, concat({sdt_head, long_name}))), "too little data");
}

TEST(SdtDecode, OwnsItsBytesAndDumps) {
    Bytes bytes = long_section(0x42, 0x0001, concat({sdt_head, service(0x10, tv_service)}));
    const Sdt sdt = parse_as<Sdt>(bytes);
    std::fill(bytes.begin(), bytes.end(), 0);
    bytes.clear();
    bytes.shrink_to_fit();
    std::ostringstream out;
    sdt.dump(out);
    EXPECT_EQ(out.str(),
              "original_network_id 133\nservice_id 16\nEIT_schedule_flag 0\nEIT_present_following_flag 1\n"
              "running_status 4\nfree_CA_mode 1\n"
              "descriptor_tag: 48 service_descriptor\nservice_type 1\nprovider_name BBC\nservice_name TV\n");
}

}  // namespace
}  // namespace lib13818
