#include <gtest/gtest.h>

#include <functional>

#include "views/hex_lines.h"
#include "views/section_bytes.h"
#include "views/table_tree.h"
#include "views/tests/record_starts.h"
#include "views/tests/scan_fixture.h"

namespace kestrel::views {
namespace {

using namespace testing;
using namespace encode;

// The full transponder, plus the records it lacks: PMT entries with language, teletext and
// CA identifier descriptors, an event with component and content descriptors, the time
// tables and a running status table.
Transponder every_record() {
    Transponder tp = full_transponder();
    const bytes stream_descriptors =
        concat({iso639_language_descriptor("deu", 1),
                teletext_descriptor({{"deu", 1, 1, 0x00}, {"eng", 2, 8, 0x88}}),
                ca_identifier_descriptor({0x0B00, 0x1702}),
                ca_descriptor(0x0B00, 0x1FF, {0xAA, 0xBB}),
                // Descriptors of the catalogue's user-defined range, and a data_broadcast_id
                // descriptor too short to decode (left undecoded) after a sound one.
                {0xF0, 1, 0xAA},
                {0x66, 2, 0x00, 0x05},
                {0xF0, 0},
                {0x66, 1, 0x00}});
    tp.PMTs.push_back(parse<lib13818::Pmt>(
        pmt_section({0x02, 0x13}, 0x131, {}, {{0x06, 0x131, stream_descriptors}, {0x03, 0x132, {}}})));
    file_section(tp.eit_actual_schedule,
                 parse<lib13818::Eit>(eit_section({0x50, 0x11, 0, 0, 0}, {1, onid, 0, 0x50},
                                                  {{0x0B,
                                                    {},
                                                    30,
                                                    1,
                                                    false,
                                                    concat({component_descriptor(2, 3, 1, "deu", "Stereo"),
                                                            content_descriptor({{0x12, 0x34}})})}})));
    const utc_time change{};
    tp.TOT = parse<lib13818::Tot>(tot_section(
        {},
        local_time_offset_descriptor({{"DEU", 0, false, 60, change, 120}, {"FRA", 1, true, 0, change, 0}})));
    tp.TDT = parse<lib13818::Tdt>(tdt_section({}));
    tp.RST = parse<lib13818::Rst>(rst_section({{1, onid, 0x11, 0xA3, 4}, {1, onid, 0x12, 0xA4, 1}}));
    return tp;
}

class SectionBytes : public ::testing::Test {
  protected:
    void SetUp() override {
        add_transponder(networks_, onid, 1, every_record(), 0);
        tree_.emplace(networks_);
    }

    // The first node whose text is `text`, depth first.
    const tree_node& find(std::string_view text) {
        const tree_node* found = nullptr;
        std::function<void(const tree_node&)> walk = [&](const tree_node& n) {
            if (found == nullptr && n.text == text) found = &n;
            for (const auto& c : n.children)
                walk(*c);
        };
        walk(tree_->root());
        if (found == nullptr) throw std::runtime_error("no node " + std::string(text));
        return *found;
    }
    std::size_t row_index(const tree_node& node, std::string_view name) {
        const std::vector<value_row> rows = tree_->rows(node);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].name == name) return i;
        throw std::runtime_error("no row " + std::string(name));
    }
    // The bytes a row stands for.
    std::vector<std::uint8_t> row_bytes(const tree_node& node, std::string_view name) {
        const node_bytes b = bytes_of(node);
        const std::optional<bit_range> bits = b.rows.at(row_index(node, name));
        if (!bits) return {};
        const auto run = b.section.subspan(bits->first_byte(), bits->end_byte() - bits->first_byte());
        return {run.begin(), run.end()};
    }

    AllNetworks networks_;
    std::optional<table_tree> tree_;
};

// Every record is found where its bytes begin it, inside the record above it, every row
// inside its record, and each node has as many row positions as rows.
TEST_F(SectionBytes, RecordsNestAndRowsLieInTheirRecords) {
    std::size_t records = 0;
    std::function<void(const tree_node&, std::optional<byte_range>)> walk =
        [&](const tree_node& node, std::optional<byte_range> outer) {
            const node_bytes b = bytes_of(node);
            std::optional<byte_range> inner = outer;
            if (node.kind == item_kind::record && section_node(node) != nullptr) {
                SCOPED_TRACE(node.text);
                ++records;
                ASSERT_FALSE(b.section.empty());
                ASSERT_TRUE(b.record.has_value());
                if (outer) {
                    EXPECT_GE(b.record->offset, outer->offset);
                    EXPECT_LE(b.record->end(), outer->end());
                }
                const std::vector<value_row> rows = tree_->rows(node);
                ASSERT_EQ(b.rows.size(), rows.size());
                for (std::size_t i = 0; i < rows.size(); ++i) {
                    if (!b.rows[i]) continue;
                    SCOPED_TRACE(rows[i].name);
                    EXPECT_GE(b.rows[i]->first, std::size_t{b.record->offset} * 8);
                    EXPECT_LE(b.rows[i]->first + b.rows[i]->count, b.record->end() * 8);
                }
                EXPECT_TRUE(std::visit(begins{b.section, b.record->offset}, node.record));
                inner = b.record;
            }
            for (const auto& child : node.children)
                walk(*child, inner);
        };
    walk(tree_->root(), std::nullopt);
    EXPECT_GT(records, 40u);
}

TEST_F(SectionBytes, RowsReadTheirFieldsBytes) {
    using b = std::vector<std::uint8_t>;
    const tree_node& service = find("SERVICE_DESCRIPTOR");
    EXPECT_EQ(row_bytes(service, "SERVICE_PROVIDER_NAME"), b({'K', 'e', 's', 't', 'r', 'e', 'l'}));
    EXPECT_EQ(row_bytes(service, "SERVICE_NAME_LENGTH"), b{11});
    EXPECT_EQ(row_bytes(service, "SERVICE_NAME").size(), 11u);

    const tree_node& nit = find("SECTION 0000");
    const node_bytes nit_bytes = bytes_of(nit);
    const std::size_t nit_size = nit_bytes.section.size();
    // The transport stream loop length follows the network name descriptor (2 + 4 bytes).
    EXPECT_EQ(nit_bytes.rows[row_index(nit, "TRANSPORT_STREAM_LOOP_LENGTH")], (bit_range{16 * 8 + 4, 12}));
    EXPECT_EQ(nit_bytes.rows[row_index(nit, "CRC_32")], (bit_range{(nit_size - 4) * 8, 32}));
    EXPECT_EQ(nit_bytes.rows[row_index(nit, "SECTION_SYNTAX_INDICATOR")], (bit_range{8, 1}));

    const tree_node& stream = find("SATELLITEDELIVERYSYSTEM_DESCRIPTOR");
    const node_bytes delivery = bytes_of(stream);
    EXPECT_EQ(delivery.rows[row_index(stream, "POLARIZATION")],
              (bit_range{(std::size_t{delivery.record->offset} + 8) * 8 + 1, 2}));

    // Entries of a fixed size follow from their index.
    EXPECT_EQ(row_bytes(*find("LOCALTIMEOFFSET_STATUS_DESCRIPTORS").children[1], "COUNTRY_CODE"),
              b({'F', 'R', 'A'}));
    EXPECT_EQ(row_bytes(find("EXTENDEDEVENT_DESCRIPTOR_ITEMS"), "ITEM"), b({'2', '0', '2', '6'}));
    EXPECT_EQ(row_bytes(*find("RST").children.front()->children[1], "SERVICE_ID"), b({0x00, 0x12}));
}

TEST_F(SectionBytes, AClickFindsTheDeepestNodeAndItsRow) {
    const tree_node& service = find("SERVICE_DESCRIPTOR");
    const node_bytes b = bytes_of(service);
    const std::size_t name_byte = b.rows[row_index(service, "SERVICE_NAME")]->first_byte() + 3;

    const struct {
        std::size_t byte;
        const tree_node* node;
        std::optional<std::size_t> row;
    } cases[] = {
        {name_byte, &service, row_index(service, "SERVICE_NAME")},
        {b.record->offset, &service, row_index(service, "DESCRIPTOR_TAG")},
        {0, section_node(service), 0},
        {b.record->offset - 1u, service.parent, row_index(*service.parent, "DESCRIPTORS_LOOP_LENGTH")},
        {b.section.size() - 1, section_node(service), row_index(*section_node(service), "CRC_32")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte);
        const byte_owner owner = owner_of_byte(service, c.byte);
        EXPECT_EQ(owner.node, c.node);
        EXPECT_EQ(owner.row, c.row);
    }
    EXPECT_EQ(owner_of_byte(service, b.section.size()).node, nullptr);
    EXPECT_EQ(owner_of_byte(tree_->root(), 0).node, nullptr);
}

// The pane shows the bytes the scan keeps beside a section; a section filed without them,
// or held outside the scan result, shows none.
TEST(KeptSectionBytes, OnlyASectionFiledWithItsBytesShowsThem) {
    const auto shown = [](const lib13818::Tdt& table) {
        tree_node node;
        node.record = &table;
        const std::span<const std::uint8_t> section = bytes_of(node).section;
        return std::vector<std::uint8_t>(section.begin(), section.end());
    };
    const bytes tdt = tdt_section({});
    lib13818::Tdt plain;
    plain.parse(tdt.data(), tdt.size());

    EXPECT_TRUE(shown(plain).empty());
    EXPECT_TRUE(shown(with_bytes<lib13818::Tdt>(plain)).empty());
    EXPECT_EQ(shown(parse<lib13818::Tdt>(tdt)), tdt);
}

TEST(HexLines, LinesCellsAndSelections) {
    std::vector<std::uint8_t> section(20);
    for (std::size_t i = 0; i < section.size(); ++i)
        section[i] = static_cast<std::uint8_t>('A' + i);
    section[1] = 0x00;
    const std::vector<std::string> lines = hex_lines(section);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "0000  41 00 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50  A.CDEFGHIJKLMNOP");
    EXPECT_EQ(lines[1], "0010  51 52 53 54                                      QRST");

    for (const std::size_t byte : {0u, 1u, 15u, 16u, 19u}) {
        const byte_cell cell = cell_of(byte);
        EXPECT_EQ(byte_at(cell.line, cell.hex, section.size()), byte);
        EXPECT_EQ(byte_at(cell.line, cell.hex + 2, section.size()), byte);
        EXPECT_EQ(byte_at(cell.line, cell.ascii, section.size()), byte);
        EXPECT_EQ(lines[cell.line].substr(cell.hex, 2), hex_text({&section[byte], 1}));
    }
    EXPECT_EQ(byte_at(0, 2, section.size()), std::nullopt);
    EXPECT_EQ(byte_at(1, cell_of(20).hex, section.size()), std::nullopt);
    EXPECT_EQ(hex_text(std::span(section).subspan(0, 3)), "41 00 43");

    // Selections: inside the hex, from the offset to a character, across a line's end, none.
    const struct {
        std::size_t line, column, end_line, end_column;
        byte_span bytes;
    } selections[] = {
        {0, cell_of(2).hex, 0, cell_of(4).hex + 1, {2, 5}},
        {0, 0, 1, cell_of(17).ascii + 1, {0, 18}},
        {0, cell_of(15).hex + 1, 1, 2, {15, 16}},
        {0, ascii_column - 1, 0, ascii_column + 16, {16, 16}},
        {1, cell_of(18).hex, 1, 99, {18, 20}},
    };
    for (const auto& s : selections)
        EXPECT_EQ(selected_bytes(s.line, s.column, s.end_line, s.end_column, section.size()), s.bytes)
            << s.line << ":" << s.column << " to " << s.end_line << ":" << s.end_column;

    EXPECT_EQ(bit_picture({8, 16}, section), "");
    EXPECT_EQ(bit_picture({2, 3}, section), "byte 0x0000: ..00 0...\n");  // 0x41 = 0100 0001
    EXPECT_EQ(bit_picture({12, 8}, section), "byte 0x0001: .... 0000\nbyte 0x0002: 0100 ....\n");
}

}  // namespace
}  // namespace kestrel::views
