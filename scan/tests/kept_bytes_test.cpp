#include <filesystem>

#include "lib13818/core/crc32.h"
#include "scan/tests/scan_fixture.h"

namespace kestrel::testing {
namespace {

constexpr std::int32_t all_tables = 0x7FFF;

// The bytes a section keeps: the whole section as sent, CRC and all.
template <class Table>
void expect_kept(const Table& table, bool with_crc = true) {
    SCOPED_TRACE(table.name());
    ASSERT_TRUE(table.parsed);
    ASSERT_EQ(table.bytes.size(), static_cast<std::size_t>(table.section_length) + 3);
    EXPECT_EQ(table.bytes[0], table.table_id);
    if (with_crc) {
        EXPECT_EQ(lib13818::crc32(table.bytes.data(), table.bytes.size()), 0u);
    }
}

std::uint16_t u16_at(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes.at(at) << 8) | bytes.at(at + 1));
}

// Every descriptor stands where it says, its tag and length first.
template <class Descriptors>
void expect_in_place(const std::vector<std::uint8_t>& section, const Descriptors& descriptors) {
    for (const auto& d : descriptors) {
        ASSERT_LE(std::size_t{d.byte} + 2 + static_cast<std::size_t>(d.descriptor_length), section.size());
        EXPECT_EQ(section[d.byte], d.descriptor_tag);
        EXPECT_EQ(section[d.byte + 1u], d.descriptor_length);
    }
}

TEST_F(ScanTest, KeepsTheBytesOfEverySectionItFilesWithItsRecordsWhereTheySay) {
    const std::string capture = KESTREL_SHARED_DIR "/captures/test-103.ts";
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "no " << capture;
    open(capture, 11.778, 1, 27500);
    ASSERT_EQ(scan(0, table_selection(all_tables)), 0);
    ASSERT_EQ(networks.size(), 1u);
    const Transponder& tp = networks.begin()->second.transponders.begin()->second;

    expect_kept(tp.PAT);
    ASSERT_FALSE(tp.nit_actual.empty());
    std::size_t streams = 0, services = 0;
    for (const auto& [network, sections] : tp.nit_actual)
        for (const auto& [number, nit] : sections) {
            expect_kept(nit);
            expect_in_place(nit.bytes, nit.described);
            for (const lib13818::NitTransportStream& ts : nit.transport_streams) {
                ++streams;
                EXPECT_EQ(u16_at(nit.bytes, ts.at.offset), ts.transport_stream_id);
                EXPECT_LE(ts.at.end(), nit.bytes.size() - 4);
                expect_in_place(nit.bytes, ts.described);
                expect_in_place(nit.bytes, ts.general);
                for (const auto& d : ts.described)
                    EXPECT_EQ(d.raw, std::string(nit.bytes.begin() + d.byte,
                                                 nit.bytes.begin() + d.byte + 2 + d.descriptor_length));
            }
        }
    for (const auto& [onid, streams_of] : tp.sdt_actual)
        for (const auto& [tsid, sections] : streams_of)
            for (const auto& [number, sdt] : sections) {
                expect_kept(sdt);
                for (const lib13818::SdtService& s : sdt.services) {
                    ++services;
                    EXPECT_EQ(u16_at(sdt.bytes, s.at.offset), s.service_id);
                    expect_in_place(sdt.bytes, s.service);
                }
            }
    EXPECT_GT(streams, 0u);
    EXPECT_GT(services, 0u);
    if (tp.TDT.parsed) expect_kept(tp.TDT, false);
    if (tp.TOT.parsed) expect_kept(tp.TOT);
}

}  // namespace
}  // namespace kestrel::testing
