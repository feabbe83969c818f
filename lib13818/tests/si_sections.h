#pragma once

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "lib13818/core/value_text.h"
#include "lib13818/tests/section_helpers.h"

namespace lib13818 {

using Bytes = std::vector<std::uint8_t>;

inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
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

// A time or duration as the dumps write it.
template <class Value>
std::string text(const Value& v) {
    std::ostringstream out;
    out << v;
    return out.str();
}

}  // namespace lib13818
