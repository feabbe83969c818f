#include <gtest/gtest.h>

#include <type_traits>
#include <utility>
#include <variant>

#include "lib13818/fields/described_loop.h"
#include "views/row_list.h"
#include "views/table_tree.h"
#include "views/tests/scan_fixture.h"

namespace kestrel::views {
namespace {

using namespace testing;

std::string names(const std::vector<value_row>& rows) {
    std::string out;
    for (const auto& row : rows)
        out.append(out.empty() ? "" : ",").append(row.name);
    return out;
}

std::vector<value_row> rows(const record_ref& record) {
    lib13818::dvb_text_decoder text;
    return value_rows(record, text);
}

// A builder that fills more rows than its field list names throws; one that builds none
// or leaves a name empty shows a blank table. Every record kind but the monostate, the
// network and the transponder, default-constructed.
template <std::size_t kind>
void expect_named_rows() {
    using alternative = std::variant_alternative_t<kind, record_ref>;
    const std::int32_t ca_id = 0x0B00;
    std::remove_cvref_t<std::remove_pointer_t<alternative>> record{};
    if constexpr (std::is_same_v<alternative, ca_system_id>) record = ca_system_id{&ca_id};
    // Described records come from decoding: a parental rating and its first country.
    static const lib::DescriptorDescribed rating = [] {
        std::vector<lib::DescriptorDescribed> described;
        const std::vector<std::uint8_t> bytes = {0x55, 0x04, 'F', 'R', 'A', 0x09};
        std::vector<lib::DescriptorGeneric> general;
        std::vector<lib::SectionWarning> warnings;
        lib::described_loop(general, described, warnings).add(lib::reader(bytes.data(), bytes.size()));
        return described.at(0);
    }();
    if constexpr (std::is_same_v<alternative, const lib::DescriptorDescribed*>) record = rating;
    if constexpr (std::is_same_v<alternative, lib::described_record>)
        record = rating.records("countries").front();
    std::vector<value_row> built;
    if constexpr (std::is_pointer_v<alternative>)
        EXPECT_NO_THROW(built = rows(&record)) << "record kind " << kind;
    else
        EXPECT_NO_THROW(built = rows(record)) << "record kind " << kind;
    EXPECT_FALSE(built.empty()) << "record kind " << kind;
    for (const value_row& row : built)
        EXPECT_FALSE(row.name.empty()) << "record kind " << kind;
}

template <std::size_t... kinds>
void expect_named_rows_of_every_kind(std::index_sequence<kinds...>) {
    (expect_named_rows<kinds + 3>(), ...);
}

TEST(ValueRows, EveryRecordKindNamesItsRows) {
    expect_named_rows_of_every_kind(std::make_index_sequence<std::variant_size_v<record_ref> - 3>());
    // Names repeat where the fields do.
    const lib::Pmt pmt;
    EXPECT_EQ(
        names(rows(&pmt)),
        "TABLE ID,SECTION SYNTAX INDICATOR,RESERVED,SECTION LENGTH,PROGRAM NUMBER,RESERVED,VERSION "
        "NUMBER,CURRENT NEXT INDICATOR,SECTION NUMBER,LAST SECTION NUMBER,RESERVED,PCR PID,PROGRAM INFO "
        "LENGTH,CRC 32");
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
