#include <gtest/gtest.h>

#include <vector>

#include "lib13818/core/dvb_string.h"
#include "lib13818/core/values.h"

namespace lib13818 {
namespace {

TEST(UtcTime, DecodesTheStandardsExample) {
    const std::uint8_t bytes[] = {0xC0, 0x79, 0x12, 0x45, 0x00};
    reader r(bytes, sizeof bytes);
    const UtcTime t = UtcTime::read(r);
    EXPECT_EQ(t.day, 13);
    EXPECT_EQ(t.month, 10);
    EXPECT_EQ(t.year, 1993);
    EXPECT_EQ(t.hour, 12);
    EXPECT_EQ(t.minute, 45);
    EXPECT_EQ(t.second, 0);
}

TEST(DvbString, KeepsTheSelectorBesideTheText) {
    const std::uint8_t bytes[] = {0x10, 0x00, 0x02, 'A', 'B'};
    reader r(bytes, sizeof bytes);
    const DvbString s = DvbString::read(r, sizeof bytes);
    EXPECT_EQ(s.text, "AB");
    EXPECT_EQ(s.selector, std::string("\x10\x00\x02", 3));
}

}  // namespace
}  // namespace lib13818
