#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "lib13818/core/crc32.h"
#include "lib13818/core/error.h"
#include "lib13818/core/reader.h"

namespace lib13818 {

// Fits section_length (bytes 1-2) to the bytes given plus a CRC_32, then appends the
// CRC_32, so that tests can write sections byte by byte without counting.
inline std::vector<std::uint8_t> with_crc(std::vector<std::uint8_t> s) {
    const std::size_t length = s.size() + 4 - 3;
    s[1] = static_cast<std::uint8_t>((s[1] & 0xF0) | ((length >> 8) & 0x0F));
    s[2] = static_cast<std::uint8_t>(length);
    s.resize(s.size() + 4);
    seal_section(s);
    return s;
}

// A long-form section: table_id, section_syntax_indicator 1, the extension, version 1,
// current, section 0 of 0, then `body`, length and CRC fitted.
inline std::vector<std::uint8_t> long_section(std::uint8_t table_id, std::uint16_t extension,
                                              const std::vector<std::uint8_t>& body) {
    std::vector<std::uint8_t> s = {
        table_id, 0xB0, 0x00, static_cast<std::uint8_t>(extension >> 8), static_cast<std::uint8_t>(extension),
        0xC3,     0x00, 0x00};
    s.insert(s.end(), body.begin(), body.end());
    return with_crc(s);
}

// The message of the error that parsing `s` as a Table throws (with `available` bytes
// there, all of s by default); a test failure when it parses.
template <class Table>
std::string parse_error(const std::vector<std::uint8_t>& s, std::size_t available) {
    Table table;
    try {
        table.parse(s.data(), available);
    } catch (const error& e) {
        EXPECT_FALSE(table.parsed);
        return e.what();
    }
    ADD_FAILURE() << "parse did not throw";
    return "";
}
template <class Table>
std::string parse_error(const std::vector<std::uint8_t>& s) {
    return parse_error<Table>(s, s.size());
}

// The message of the error that decoding `bytes` as a Descriptor throws.
template <class Descriptor>
std::string decode_error(const std::vector<std::uint8_t>& bytes) {
    try {
        Descriptor d{reader(bytes.data(), bytes.size())};
    } catch (const error& e) {
        return e.what();
    }
    ADD_FAILURE() << "decoding did not throw";
    return "";
}

template <class Descriptor>
Descriptor decode(const std::vector<std::uint8_t>& bytes) {
    return Descriptor{reader(bytes.data(), bytes.size())};
}

}  // namespace lib13818
