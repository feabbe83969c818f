#include <gtest/gtest.h>

#include "channels/channel_collection.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::channels {
namespace {

using encode::bytes;

template <class Table>
with_bytes<Table> parsed(const bytes& section) {
    with_bytes<Table> table;
    table.parse(section.data(), section.size());
    return table;
}

bytes concat(std::initializer_list<bytes> parts) {
    bytes out;
    for (const bytes& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

struct number {
    std::uint16_t service_id;
    std::uint16_t lcn;
    bool visible;
};

// 0x83 after a private_data_specifier: EACEM's 10-bit numbers, or NorDig's 14-bit ones.
bytes numbers(std::uint32_t specifier, const std::vector<number>& channels) {
    bytes body;
    for (const number& c : channels) {
        const std::uint8_t reserved = specifier == 0x29 ? 0x40 : 0x7C;
        body.insert(body.end(),
                    {static_cast<std::uint8_t>(c.service_id >> 8), static_cast<std::uint8_t>(c.service_id),
                     static_cast<std::uint8_t>((c.visible ? 0x80 : 0) | reserved | (c.lcn >> 8)),
                     static_cast<std::uint8_t>(c.lcn)});
    }
    return concat({encode::private_data_specifier_descriptor(specifier), encode::descriptor(0x83, body)});
}

Transponder with_programs(std::uint16_t tsid, const std::vector<std::uint16_t>& services) {
    std::vector<encode::pat_program> programs{{0, 0x10}};
    for (const std::uint16_t sid : services)
        programs.push_back({sid, static_cast<std::uint16_t>(0x100 + sid)});
    Transponder t;
    t.PAT = parsed<lib13818::Pat>(encode::pat_section({0x00, tsid}, programs));
    return t;
}

TEST(ChannelCollection, OrdersVisibleNumbersThenHiddenThenUnnumberedByServiceId) {
    constexpr std::uint16_t onid = 0x2F00;
    Transponder first = with_programs(1, {0x101, 0x102, 0x103, 0x104, 0x105});
    first.delivery.system = lib13818::DeliverySystem::dvb_t;
    file_section(first.nit_actual,
                 parsed<lib13818::Nit>(encode::network_section(
                     {0x40, 0x3001}, {},
                     {{1, onid, numbers(0x28, {{0x101, 5, true}, {0x102, 1, false}, {0x103, 3, true}})},
                      {2, onid, numbers(0x29, {{0x201, 2, true}})}})));
    // The BAT's number for 0x101 loses to the NIT's; 0x104 has only the BAT's.
    first.BAT = parsed<lib13818::Bat>(encode::network_section(
        {0x4A, 0x7001}, {}, {{1, onid, numbers(0x28, {{0x101, 9, true}, {0x104, 4, true}})}}));
    Transponder second = with_programs(2, {0x202, 0x201});
    second.frequency = 0.578;
    second.delivery.system = lib13818::DeliverySystem::dvb_t2;

    AllNetworks networks;
    add_transponder(networks, onid, 1, first, 0);
    add_transponder(networks, onid, 2, second, 0);
    const std::vector<channel_entry> entries = collect_channels(networks);

    std::vector<std::pair<std::int32_t, std::int32_t>> order;
    for (const channel_entry& e : entries)
        order.emplace_back(e.service_id, e.logical_channel.value_or(-1));
    const std::vector<std::pair<std::int32_t, std::int32_t>> expected = {
        {0x201, 2}, {0x103, 3}, {0x104, 4}, {0x101, 5}, {0x102, 1}, {0x105, -1}, {0x202, -1}};
    EXPECT_EQ(order, expected);
    EXPECT_FALSE(entries[4].visible);
    // A T2 transport stream tuned without naming its PLP takes PLP 0.
    EXPECT_EQ(entries[0].tuning.delivery.stream_id, 0);
    EXPECT_EQ(entries[0].tuning.frequency_khz, 578000);
}

TEST(ChannelCollection, TakesStreamsLanguagesCaNamesAndPositionFromTheTables) {
    constexpr std::uint16_t onid = 0x0085, tsid = 7;
    Transponder t = with_programs(tsid, {0x10, 0x10, 0x11});
    t.frequency = 11.7775;
    t.symbol_rate = 27.5;
    const bytes subtitling = encode::descriptor(0x59, {'f', 'r', 'a', 0x10, 0x00, 0x01, 0x00, 0x01});
    const bytes ac3 = encode::descriptor(0x6A, {0x00});
    t.PMTs.push_back(parsed<lib13818::Pmt>(encode::pmt_section(
        {0x02, 0x10}, 0x1FF, encode::ca_descriptor(0x1702, 0x300),
        {{0x1B, 0x200, {}},
         {0x03, 0x201,
          concat({encode::iso639_language_descriptor("deu"), encode::iso639_language_descriptor("eng"),
                  encode::iso639_language_descriptor("deu")})},
         {0x06, 0x202, concat({ac3, encode::iso639_language_descriptor("eng")})},
         {0x06, 0x203, encode::teletext_descriptor({{"deu"}})},
         {0x06, 0x204, subtitling},
         {0x05, 0x205, {}},
         {0x02, 0x206,
          concat({encode::ca_descriptor(0x1702, 0x301), encode::ca_descriptor(0x0B00, 0x302)})}})));
    file_section(t.sdt_actual,
                 parsed<lib13818::Sdt>(encode::sdt_section(
                     {0x42, tsid}, onid,
                     {{0x10, false, false, 4, true, encode::service_descriptor(1, "Kestrel", "Eins")}})));
    encode::satellite_delivery west;
    west.orbital_tenths = 50;
    west.east = false;
    file_section(t.nit_actual,
                 parsed<lib13818::Nit>(encode::network_section(
                     {0x40, 1}, {}, {{tsid, onid, encode::satellite_delivery_system_descriptor(west)}})));
    AllNetworks networks;
    add_transponder(networks, onid, tsid, t, 1);

    const std::vector<channel_entry> entries = collect_channels(networks);
    ASSERT_EQ(entries.size(), 2u);  // the repeated program counts once
    const channel_entry& e = entries[0];
    EXPECT_EQ(e.name, "Eins");
    EXPECT_EQ(e.provider, "Kestrel");
    EXPECT_EQ(e.pcr_pid, 0x1FF);
    ASSERT_TRUE(e.video);
    EXPECT_EQ(e.video->pid, 0x200);  // the first video stream; 0x206 is not taken
    ASSERT_EQ(e.audio.size(), 2u);
    EXPECT_EQ(e.audio[0].language, "deu+eng");
    EXPECT_EQ(e.audio[1].pid, 0x202);
    EXPECT_EQ(e.audio[1].audio_descriptor_tag, 0x6A);
    ASSERT_TRUE(e.teletext);
    EXPECT_EQ(e.teletext->language, "deu");
    ASSERT_EQ(e.subtitles.size(), 1u);
    EXPECT_EQ(e.subtitles[0].pid, 0x204);
    EXPECT_EQ(e.subtitles[0].language, "fra");
    EXPECT_EQ(e.ca_system_ids, (std::vector<std::int32_t>{0x1702, 0x0B00}));
    EXPECT_EQ(e.tuning.frequency_khz, 11777500);
    EXPECT_EQ(e.tuning.symbol_rate, 27500000);
    EXPECT_EQ(e.tuning.orbital_tenths, -50);
    EXPECT_EQ(e.tuning.diseqc_position, 1);

    EXPECT_EQ(entries[1].name, "<service not in sdt>");
    EXPECT_FALSE(entries[1].video);
    EXPECT_EQ(entries[1].pcr_pid, 0);
}

}  // namespace
}  // namespace kestrel::channels
