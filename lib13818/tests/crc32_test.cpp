#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <random>
#include <vector>

#include "lib13818/core/crc32.h"

namespace lib13818 {
namespace {

TEST(Crc32, MatchesHandComputedValues) {
    EXPECT_EQ(crc32_bytewise(nullptr, 0), 0xFFFFFFFFu);
    // One zero byte: 0xFFFFFF00 ^ table[0xFF], table[0xFF] = 0xB1F740B4.
    const std::uint8_t zero = 0;
    EXPECT_EQ(crc32_table()[0xFF], 0xB1F740B4u);
    EXPECT_EQ(crc32_bytewise(&zero, 1), 0x4E08BFB4u);
    // The catalogued check value of CRC-32/MPEG-2 over "123456789".
    const auto* digits = reinterpret_cast<const std::uint8_t*>("123456789");
    EXPECT_EQ(crc32_bytewise(digits, 9), 0x0376E6E7u);
}

TEST(Crc32, ASectionWithItsCrcGivesZeroAndWithoutItGivesTheField) {
    std::vector<std::uint8_t> s = {0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00, 0x00, 0x01, 0xE1, 0x00};
    const std::uint32_t crc = crc32_bytewise(s.data(), s.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<std::uint8_t>(crc >> shift));
    EXPECT_EQ(crc32(s.data(), s.size()), 0u);
    EXPECT_EQ(crc32(s.data(), s.size() - 4), crc);
}

// Every length up to a few blocks past the 64-byte folding step, at every alignment,
// with the preset and with a register carried over from earlier data.
TEST(Crc32, FastMethodsEqualTheBytewiseDefinition) {
    using method = std::uint32_t (*)(const std::uint8_t*, std::size_t, std::uint32_t);
    std::vector<std::pair<const char*, method>> methods = {{"slice8", crc32_slice8}, {"dispatch", crc32}};
    if (crc32_fold_available())
        methods.emplace_back("fold", crc32_fold);
    else
        std::printf("no PCLMULQDQ here: folding not compared\n");

    std::mt19937 random(13818);
    std::vector<std::uint8_t> buffer(4096 + 16);
    for (auto& b : buffer)
        b = static_cast<std::uint8_t>(random());
    std::vector<std::size_t> sizes(300);
    std::iota(sizes.begin(), sizes.end(), 0);
    sizes.insert(sizes.end(), {1024, 4093, 4096});
    for (const auto& [name, crc] : methods) {
        for (std::size_t offset = 0; offset < 16; ++offset) {
            for (std::size_t size : sizes) {
                const std::uint8_t* p = buffer.data() + offset;
                for (std::uint32_t start : {crc32_preset, 0u, 0x12345678u})
                    ASSERT_EQ(crc(p, size, start), crc32_bytewise(p, size, start))
                        << name << ", size " << size << ", offset " << offset;
            }
        }
    }
}

}  // namespace
}  // namespace lib13818
