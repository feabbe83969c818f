#include <gtest/gtest.h>

#include <vector>

#include "lib13818/core/dvb_string.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tests/section_helpers.h"

namespace lib13818 {
namespace {

TEST(Section, TheCrcIsCheckedBeforeAnythingElse) {
    std::vector<std::uint8_t> s = long_section(0x02, 1, {0xE1, 0x00, 0xF0, 0x00});
    s[0] = 0x42;  // wrong table and now a wrong CRC too
    EXPECT_EQ(parse_error<Pmt>(s), "crc error");
}

TEST(Section, HeaderFaultsSayKindAndWhere) {
    std::vector<std::uint8_t> no_syntax = {0x00, 0x30, 0x00, 0x00, 0x01, 0xC1, 0x00, 0x00};
    no_syntax = with_crc(no_syntax);
    try {
        Pat pat;
        pat.parse(no_syntax.data(), no_syntax.size());
        ADD_FAILURE() << "a section without section syntax parsed";
    } catch (const error& e) {
        EXPECT_EQ(e.kind, error::kind_syntax);
        EXPECT_EQ(e.where, no_syntax.data());
    }

    EXPECT_EQ(parse_error<Pat>(long_section(0x02, 1, {})), "invalid table id");

    // Bit 6 of byte 1 is not examined.
    std::vector<std::uint8_t> pmt = {0x02, 0xF0, 0x00, 0x00, 0x01, 0xC3, 0x00, 0x00, 0xE1, 0x00, 0xF0, 0x00};
    pmt = with_crc(pmt);
    Pmt table;
    table.parse(pmt.data(), pmt.size());
    EXPECT_TRUE(table.parsed);
    EXPECT_EQ(table.PCR_PID, 0x100);
}

TEST(Section, NeverReadsPastTheBytesAvailable) {
    const std::vector<std::uint8_t> pat = long_section(0x00, 1, {0x00, 0x01, 0xE1, 0x00});
    for (std::size_t available = 0; available < pat.size(); ++available)
        EXPECT_EQ(parse_error<Pat>(pat, available), "too little data") << available;
    // A section too short for its own header, however good its CRC.
    EXPECT_EQ(parse_error<Pat>(with_crc({0x00, 0xB0, 0x00, 0x00})), "too little data");
}

TEST(Section, CrcFieldIsReadMostSignificantFirst) {
    const std::vector<std::uint8_t> pat = long_section(0x00, 7, {});
    Pat table;
    table.parse(pat.data(), pat.size());
    EXPECT_EQ(table.CRC_32, crc32_bytewise(pat.data(), pat.size() - 4));
    EXPECT_EQ(table.table_id_extension, 7);
    EXPECT_EQ(table.version_number, 1);
    EXPECT_EQ(table.current_next_indicator, 1);
}

DvbString text_of(std::vector<std::uint8_t> bytes) {
    reader r(bytes.data(), bytes.size());
    return DvbString::read(r, bytes.size());
}

TEST(DvbString, TakesOnlyALeadingSelectorOffTheText) {
    EXPECT_EQ(text_of({0x05, 'A', 'B'}).text, "AB");
    EXPECT_EQ(text_of({0x05, 'A', 'B'}).selector, "\x05");
    EXPECT_EQ(text_of({0x41, 0x05}).text, "A\x05");
    EXPECT_EQ(text_of({0x41, 0x05}).selector, "");
    EXPECT_EQ(text_of({0x1F, 0x01, 'A'}).text, "A");
    // UTF-8, the East Asian tables and the reserved values select too.
    for (const std::uint8_t selector : {0x07, 0x0B, 0x0C, 0x13, 0x15, 0x1E})
        EXPECT_EQ(text_of({selector, 'A'}).text, "A") << int(selector);
    EXPECT_EQ(text_of({0x10, 0x00, 0x02, 'A', 'B'}).text, "AB");
    EXPECT_EQ(text_of({0x10, 0x00, 0x02, 'A', 'B'}).selector, std::string("\x10\x00\x02", 3));
    // A selector cut short by the text's end takes what there is.
    EXPECT_EQ(text_of({0x10, 0x00}).text, "");
    EXPECT_EQ(text_of({0x10, 0x00}).selector, std::string("\x10\x00", 2));
    EXPECT_EQ(text_of({0xE0, 0x86}).text, "\xE0\x86");
}

TEST(DvbString, LengthPrefixedFormOccupiesItsLengthByte) {
    const std::uint8_t bytes[] = {0x00, 0x02, 'O', 'K', 0x07};
    reader r(bytes, sizeof bytes);
    EXPECT_EQ(DvbString::read_prefixed(r).text, "");
    EXPECT_EQ(r.remaining(), 4u);
    EXPECT_EQ(DvbString::read_prefixed(r).text, "OK");
    EXPECT_THROW(DvbString::read_prefixed(r), error);
}

}  // namespace
}  // namespace lib13818
