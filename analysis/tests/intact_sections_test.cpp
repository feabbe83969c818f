#include "analysis/intact_sections.h"

#include <gtest/gtest.h>

#include <vector>

#include "lib13818/core/crc32.h"

namespace kestrel::analysis {
namespace {

using bytes = std::vector<std::uint8_t>;

// A long-form section of `size` bytes, its CRC_32 filled in.
bytes sealed(std::uint8_t table_id, std::uint16_t extension, std::size_t size) {
    bytes s(size, 0x5A);
    s[0] = table_id;
    s[1] = static_cast<std::uint8_t>(0xB0 | (size - 3) >> 8);
    s[2] = static_cast<std::uint8_t>(size - 3);
    s[3] = static_cast<std::uint8_t>(extension >> 8);
    s[4] = static_cast<std::uint8_t>(extension);
    lib13818::seal_section(s);
    return s;
}

bytes flipped(bytes s, std::size_t at) {
    s[at] ^= 0x01;
    return s;
}

// A copy known intact must not vouch for a copy that differs from it anywhere, also once
// more sections were seen than the kept bytes can hold (everything kept is then forgotten).
TEST(IntactSections, VouchesOnlyForByteIdenticalCopies) {
    intact_sections check;
    const bytes eit = sealed(0x4E, 1, 200);
    bytes short_form = {0x70, 0x70, 0x05, 1, 2, 3, 4, 5};
    struct step {
        bytes section;
        bool intact;
    };
    const step steps[] = {
        {eit, true},
        {eit, true},
        {flipped(eit, 100), false},  // the same slot: header and CRC field unchanged
        {flipped(eit, 199), false},  // the CRC field itself
        {eit, true},
        {short_form, true},  // no CRC_32
        {flipped(sealed(0x73, 0, 20), 10), false},
        {flipped(sealed(0x42, 1, 10), 5), false},  // too short to be kept
    };
    for (const step& s : steps)
        EXPECT_EQ(check.intact(s.section), s.intact) << "table_id " << int{s.section[0]};
    for (int round = 0; round < 2; ++round)
        for (std::uint16_t extension = 0; extension < 20'000; ++extension)
            ASSERT_TRUE(check.intact(sealed(0x50, extension, 64 + extension % 512)));
    for (std::uint16_t extension = 0; extension < 20'000; extension += 97)
        EXPECT_FALSE(check.intact(flipped(sealed(0x50, extension, 64 + extension % 512), 30)));
}

}  // namespace
}  // namespace kestrel::analysis
