#include "lib13818/core/crc32.h"

namespace lib13818 {

namespace {
std::array<std::uint32_t, 256> make_table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        table[i] = r;
    }
    return table;
}
}  // namespace

const std::array<std::uint32_t, 256>& crc32_table() {
    // A function-local static is initialised exactly once, even when threads race to it.
    static const std::array<std::uint32_t, 256> table = make_table();
    return table;
}

std::uint32_t crc32_bytewise(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    const auto& table = crc32_table();
    for (std::size_t i = 0; i < size; ++i) crc = (crc << 8) ^ table[(crc >> 24) ^ data[i]];
    return crc;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    return crc32_bytewise(data, size, crc);
}

}  // namespace lib13818
