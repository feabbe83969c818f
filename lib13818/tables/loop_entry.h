#pragma once

#include <cstddef>

#include "lib13818/core/reader.h"

namespace lib13818 {

// The descriptor loop of an entry of a loop that must end exactly (NIT and BAT transport
// streams, SDT services, EIT events), declared `length` bytes long. Descriptors that would
// run past the end of the entries' loop put the loop out of step: "descriptor start end
// mismatch", raised before any byte outside the loop is read.
inline reader entry_descriptors(reader& loop, std::size_t length) {
    if (length > loop.remaining()) throw error(messages::start_end_mismatch, loop.position());
    return loop.sub(length);
}

// How many whole entries the loop holds, each a head of `head_size` bytes whose last two
// carry the 12-bit length of the descriptors that follow. Counting first lets a table size
// its vector once; the count stops quietly where an entry would run past the loop, and
// the decoding pass then reports that fault.
inline std::size_t count_entries(reader loop, std::size_t head_size) {
    std::size_t count = 0;
    for (const std::uint8_t* p = loop.position(); static_cast<std::size_t>(loop.end() - p) >= head_size;
         ++count) {
        const std::size_t size = head_size + (((p[head_size - 2] & 0x0F) << 8) | p[head_size - 1]);
        if (size > static_cast<std::size_t>(loop.end() - p)) break;
        p += size;
    }
    return count;
}

// Calls count(tag) once per whole descriptor of the loop, stopping quietly where one
// would run past it; the decoding pass reports that fault.
template <class Count>
void count_descriptors(reader loop, Count&& count) {
    for (const std::uint8_t* p = loop.position(); loop.end() - p >= 2 && p[1] + 2 <= loop.end() - p;
         p += p[1] + 2)
        count(p[0]);
}

}  // namespace lib13818
