#include <filesystem>

#include "lib13818/core/crc32.h"
#include "scan/tests/scan_fixture.h"
#include "views/section_bytes.h"
#include "views/table_tree.h"
#include "views/tests/record_starts.h"

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

// Every record of the tree is found in its section where its bytes begin it, inside the
// record above it; returns how many were.
std::size_t expect_found(const views::tree_node& node, std::optional<views::byte_range> outer) {
    std::size_t found = 0;
    if (node.kind == views::item_kind::record && views::section_node(node) != nullptr) {
        SCOPED_TRACE(node.text);
        const views::node_bytes b = views::bytes_of(node);
        if (!b.record) {
            ADD_FAILURE() << "not found";
            return 0;
        }
        if (outer) {
            EXPECT_GE(b.record->offset, outer->offset);
            EXPECT_LE(b.record->end(), outer->end());
        }
        EXPECT_TRUE(std::visit(views::testing::begins{b.section, b.record->offset}, node.record));
        outer = b.record;
        ++found;
    }
    for (const auto& child : node.children)
        found += expect_found(*child, outer);
    return found;
}

TEST_F(ScanTest, KeepsTheBytesOfEverySectionItFilesAndTheTreeFindsItsRecordsInThem) {
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
            streams += nit.transport_streams.size();
        }
    for (const auto& [onid, streams_of] : tp.sdt_actual)
        for (const auto& [tsid, sections] : streams_of)
            for (const auto& [number, sdt] : sections) {
                expect_kept(sdt);
                services += sdt.services.size();
            }
    EXPECT_GT(streams, 0u);
    EXPECT_GT(services, 0u);
    if (tp.TDT.parsed) expect_kept(tp.TDT, false);
    if (tp.TOT.parsed) expect_kept(tp.TOT);

    const views::table_tree tree(networks);
    EXPECT_GE(expect_found(tree.root(), std::nullopt), 20u);
}

}  // namespace
}  // namespace kestrel::testing
