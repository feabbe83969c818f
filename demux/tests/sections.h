#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <vector>

#include "lib13818/core/crc32.h"

namespace kestrel::testing {

using bytes = std::vector<std::uint8_t>;

inline std::uint8_t hi(int v) {
    return static_cast<std::uint8_t>(v >> 8);
}
inline std::uint8_t lo(int v) {
    return static_cast<std::uint8_t>(v);
}

// A long-form section of `size` bytes in all: the header with the given identifiers, the
// body, 0xFF filler up to the CRC_32, and a CRC_32 that makes it intact.
inline bytes long_section(std::uint8_t table_id, std::uint16_t extension, std::uint8_t number,
                          std::uint8_t last_number, const bytes& body, std::size_t size = 0) {
    size = std::max(size, 12 + body.size());
    const std::size_t length = size - 3;
    const std::uint8_t header[] = {table_id,
                                   static_cast<std::uint8_t>(0xB0 | ((length >> 8) & 0x0F)),
                                   lo(static_cast<int>(length)),
                                   hi(extension),
                                   lo(extension),
                                   0xC1,
                                   number,
                                   last_number};
    bytes s;
    s.reserve(size);
    s.insert(s.end(), std::begin(header), std::end(header));
    s.insert(s.end(), body.begin(), body.end());
    s.resize(size - 4, 0xFF);
    const std::uint32_t crc = lib13818::crc32(s.data(), s.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<std::uint8_t>(crc >> shift));
    return s;
}

// A PAT section listing `programs` programs (a 4-byte entry each).
inline bytes pat(std::uint16_t tsid, std::uint8_t number, std::uint8_t last_number, int programs = 1) {
    bytes body;
    for (int p = 1; p <= programs; ++p)
        body.insert(body.end(), {hi(p), lo(p), 0xE1, 0x00});
    return long_section(0x00, tsid, number, last_number, body);
}

inline bytes pmt(std::uint16_t program_number) {
    return long_section(0x02, program_number, 0, 0, {0xE1, 0x00, 0xF0, 0x00});
}

inline bytes nit(std::uint8_t table_id, std::uint16_t network_id, std::uint8_t number,
                 std::uint8_t last_number) {
    return long_section(table_id, network_id, number, last_number, {0xF0, 0x00, 0xF0, 0x00});
}

inline bytes sdt(std::uint8_t table_id, std::uint16_t onid, std::uint16_t tsid, std::uint8_t number,
                 std::uint8_t last_number) {
    return long_section(table_id, tsid, number, last_number, {hi(onid), lo(onid), 0xFF});
}

// An EIT section of `size` bytes: one event whose descriptor loop fills the section with
// private descriptors.
inline bytes eit(std::uint8_t table_id, std::uint16_t onid, std::uint16_t tsid, std::uint16_t sid,
                 std::uint8_t number, std::size_t size = 0) {
    bytes body = {hi(tsid), lo(tsid), hi(onid), lo(onid), number, table_id};
    if (size > 0) {
        const std::size_t loop = size - 12 - body.size() - 12;
        body.insert(body.end(), {0x00, 0x01, 0xE7, 0x6A, 0x12, 0x00, 0x00, 0x01, 0x30, 0x00,
                                 static_cast<std::uint8_t>(0x00 | (loop >> 8)), lo(static_cast<int>(loop))});
        for (std::size_t left = loop; left > 0;) {
            const std::size_t n = std::min<std::size_t>(left - 2, 255);
            body.push_back(0x80);
            body.push_back(static_cast<std::uint8_t>(n));
            body.insert(body.end(), n, 0x20);
            left -= n + 2;
        }
    }
    return long_section(table_id, sid, number, number, body);
}

}  // namespace kestrel::testing
