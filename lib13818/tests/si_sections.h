#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include <string>

#include "lib13818/core/crc32.h"
#include "lib13818/core/error.h"
#include "lib13818/core/reader.h"

namespace lib13818::testing_support {

using Bytes = std::vector<std::uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

// A long-form section: table_id, section_syntax_indicator 1, table_id_extension, version 1,
// current, section 0 of 0, the body, and the CRC_32 that makes the section intact.
inline Bytes long_section(std::uint8_t table_id, std::uint16_t extension, const Bytes& body) {
    const std::size_t length = 5 + body.size() + 4;
    Bytes s = {table_id,
               static_cast<std::uint8_t>(0xB0 | (length >> 8)),
               static_cast<std::uint8_t>(length),
               static_cast<std::uint8_t>(extension >> 8),
               static_cast<std::uint8_t>(extension),
               0xC3,
               0x00,
               0x00};
    s.insert(s.end(), body.begin(), body.end());
    const std::uint32_t crc = crc32_bytewise(s.data(), s.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        s.push_back(static_cast<std::uint8_t>(crc >> shift));
    return s;
}

// A short-form section: table_id, section_syntax_indicator 0, section_length, the body.
inline Bytes short_section(std::uint8_t table_id, const Bytes& body) {
    Bytes s = {table_id, static_cast<std::uint8_t>(0x70 | (body.size() >> 8)),
               static_cast<std::uint8_t>(body.size())};
    s.insert(s.end(), body.begin(), body.end());
    return s;
}

// Parses `bytes` as a fresh Table.
template <class Table>
Table parse_as(const Bytes& bytes) {
    Table t;
    t.parse(bytes.data(), bytes.size());
    return t;
}

// The message of the lib13818::error that f throws, or "no error".
template <class F>
std::string error_of(F&& f) {
    try {
        f();
    } catch (const error& e) {
        return e.what();
    }
    return "no error";
}

// A descriptor decoded from its bytes, tag and length included.
template <class Descriptor>
Descriptor decode(const Bytes& bytes) {
    return Descriptor(reader(bytes.data(), bytes.size()));
}

}  // namespace lib13818::testing_support
