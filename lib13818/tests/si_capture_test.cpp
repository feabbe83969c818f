#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "lib13818/core/crc32.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tables/tdt.h"
#include "lib13818/tables/tot.h"
#include "lib13818/tests/capture_sections.h"
#include "lib13818/tests/si_sections.h"

namespace lib13818 {
namespace {

const std::set<std::uint16_t> si_pids = {0x10, 0x11, 0x12, 0x13, 0x14};

// Parses a section of the SI PIDs as the table its table_id names; false for a table id
// these tests do not cover. Throws what the table throws.
bool parse_si(const std::vector<std::uint8_t>& bytes, std::size_t available) {
    auto parse = [&](auto table) {
        table.parse(bytes.data(), available);
        return table.parsed;
    };
    const std::uint8_t id = bytes[0];
    if (id == 0x40 || id == 0x41) return parse(Nit{});
    if (id == 0x42 || id == 0x46) return parse(Sdt{});
    if (id >= 0x4E && id <= 0x6F) return parse(Eit{});
    if (id == 0x70) return parse(Tdt{});
    if (id == 0x73) return parse(Tot{});
    return false;
}

class SiCaptures : public testing::Test {
  protected:
    void SetUp() override {
        if (capture_files().empty()) GTEST_SKIP() << "no captures in " KESTREL_SHARED_DIR "/captures";
    }
    static std::string path(const char* name) { return KESTREL_SHARED_DIR "/captures/" + std::string(name); }

    // The first section of `file` on `pid` whose table_id is `table_id`.
    template <class Table>
    static Table first(const char* file, std::uint16_t pid, int table_id) {
        for (const CapturedSection& s : capture_sections(path(file), {pid})) {
            if (s.bytes[0] != table_id) continue;
            Table t;
            t.parse(s.bytes.data(), s.bytes.size());
            return t;
        }
        ADD_FAILURE() << "no table_id " << table_id << " in " << file;
        return {};
    }
};

TEST_F(SiCaptures, IntactSectionsParseAndDamagedOnesThrow) {
    std::map<int, int> parsed_by_table_id;
    for (const std::string& file : capture_files()) {
        for (const CapturedSection& s : capture_sections(file, si_pids)) {
            SCOPED_TRACE(testing::Message() << file << " PID " << s.pid << " table_id " << int{s.bytes[0]});
            const bool long_form = (s.bytes[1] & 0x80) != 0;
            if (long_form && crc32(s.bytes.data(), s.bytes.size()) != 0) {
                EXPECT_THROW(parse_si(s.bytes, s.bytes.size()), error);
                continue;
            }
            bool parsed = false;
            EXPECT_NO_THROW(parsed = parse_si(s.bytes, s.bytes.size()));
            parsed_by_table_id[s.bytes[0]] += parsed;
            // A flipped bit breaks the CRC of a long section; a short one cut by a byte is too short.
            std::vector<std::uint8_t> damaged = s.bytes;
            if (long_form) damaged[damaged.size() / 2] ^= 0x10;
            EXPECT_THROW(parse_si(damaged, long_form ? damaged.size() : damaged.size() - 1), error);
        }
    }
    for (int table_id : {0x40, 0x42, 0x4E, 0x4F, 0x60, 0x70, 0x73})
        EXPECT_GT(parsed_by_table_id[table_id], 0) << "table_id " << table_id;
}

TEST_F(SiCaptures, Test103ServicesNetworkAndTime) {
    const Sdt sdt = first<Sdt>("test-103.ts", 0x11, 0x42);
    ASSERT_EQ(sdt.services.size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const SdtService& s = sdt.services[static_cast<std::size_t>(i)];
        EXPECT_EQ(s.service_id, i + 1);
        ASSERT_EQ(s.service.size(), 1u);
        EXPECT_EQ(s.service[0].service_name, "Srv_" + std::to_string(i + 1));
    }

    const Nit nit = first<Nit>("test-103.ts", 0x10, 0x40);
    ASSERT_EQ(nit.described.size(), 1u);
    EXPECT_EQ(nit.described[0].bytes("network_name"), "2");
    ASSERT_EQ(nit.transport_streams.size(), 1u);
    ASSERT_EQ(nit.transport_streams[0].service_list.size(), 1u);
    EXPECT_EQ(nit.transport_streams[0].service_list[0].services.size(), 2u);

    // TDT bytes E8 46 19 29 35: MJD 59462 at 19:29:35.
    const Tdt tdt = first<Tdt>("test-103.ts", 0x14, 0x70);
    EXPECT_EQ(text(tdt.UTC_time), "5/9-2021 19:29:35");

    const Tot tot = first<Tot>("test-103.ts", 0x14, 0x73);
    EXPECT_EQ(text(tot.UTC_time), "5/9-2021 19:29:35");
    EXPECT_EQ(tot.CRC_32, 0xB755ECEBu);
}

TEST_F(SiCaptures, Test030EventTexts) {
    const Eit eit = first<Eit>("test-030.ts", 0x12, 0x4E);
    EXPECT_EQ(eit.table_id_extension, 0x226A);
    ASSERT_FALSE(eit.events.empty());
    const EitEvent& e = eit.events[0];
    EXPECT_EQ(e.event_id, 0x7531);
    // Start E2 84 11 00 00 (MJD 57988), duration 02 00 00.
    EXPECT_EQ(text(e.start_time), "23/8-2017 11:0:0");
    EXPECT_EQ(text(e.duration), "2:0:0");
    ASSERT_EQ(e.short_event.size(), 1u);
    EXPECT_EQ(e.short_event[0].event_name.text, "LA NEWSROOM");
    ASSERT_EQ(e.extended_event.size(), 1u);
    ASSERT_EQ(e.extended_event[0].items.size(), 1u);
    EXPECT_EQ(e.extended_event[0].items[0].item_description.text, "Pr\xE9sentateur");
    EXPECT_EQ(e.extended_event[0].items[0].item.text, "Julien Desvages");
    EXPECT_EQ(e.component.size(), 2u);
    EXPECT_TRUE(e.general.empty());
    ASSERT_EQ(e.described.size(), 1u);
    EXPECT_EQ(e.described[0].descriptor_tag, 0x55);
}

}  // namespace
}  // namespace lib13818
