#include "lib13818/core/crc32.h"

namespace lib13818 {

namespace {

using table_t = std::array<std::uint32_t, 256>;

table_t make_table() {
    table_t table{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t r = i << 24;
        for (int bit = 0; bit < 8; ++bit)
            r = (r & 0x80000000u) ? (r << 1) ^ 0x04C11DB7u : r << 1;
        table[i] = r;
    }
    return table;
}

// slice[k][b] is the register contribution of byte b followed by k zero bytes.
std::array<table_t, 8> make_slice_tables() {
    std::array<table_t, 8> slice{};
    slice[0] = crc32_table();
    for (std::size_t k = 1; k < slice.size(); ++k)
        for (std::size_t i = 0; i < 256; ++i)
            slice[k][i] = (slice[k - 1][i] << 8) ^ slice[0][slice[k - 1][i] >> 24];
    return slice;
}

}  // namespace

const table_t& crc32_table() {
    // A function-local static is initialised exactly once, even when threads race to it.
    static const table_t table = make_table();
    return table;
}

std::uint32_t crc32_bytewise(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    const auto& table = crc32_table();
    for (std::size_t i = 0; i < size; ++i)
        crc = (crc << 8) ^ table[(crc >> 24) ^ data[i]];
    return crc;
}

std::uint32_t crc32_slice8(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    static const std::array<table_t, 8> slice = make_slice_tables();
    const std::uint8_t* p = data;
    for (; size >= 8; size -= 8, p += 8) {
        crc ^= (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
        crc = slice[7][crc >> 24] ^ slice[6][(crc >> 16) & 0xFF] ^ slice[5][(crc >> 8) & 0xFF] ^
              slice[4][crc & 0xFF] ^ slice[3][p[4]] ^ slice[2][p[5]] ^ slice[1][p[6]] ^ slice[0][p[7]];
    }
    return crc32_bytewise(p, size, crc);
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size, std::uint32_t crc) {
    static const auto fastest = crc32_fold_available() ? crc32_fold : crc32_slice8;
    return fastest(data, size, crc);
}

void seal_section(std::span<std::uint8_t> section) {
    constexpr std::size_t crc_size = 4;
    if (section.size() < crc_size) return;
    const std::size_t body = section.size() - crc_size;
    const std::uint32_t crc = crc32(section.data(), body);
    for (std::size_t i = 0; i < crc_size; ++i)
        section[body + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
}

}  // namespace lib13818
