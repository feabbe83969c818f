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

// The whole entries at the front of a loop, each a head of `head_size` bytes whose last two
// carry the 12-bit length of the descriptors that follow: how many, and where they end.
// The walk stops quietly where an entry would run past the loop.
struct entry_walk {
    std::size_t count = 0;
    const std::uint8_t* end = nullptr;
};

inline entry_walk walk_entries(reader loop, std::size_t head_size) {
    entry_walk walk{0, loop.position()};
    for (const std::uint8_t*& p = walk.end; static_cast<std::size_t>(loop.end() - p) >= head_size;
         ++walk.count) {
        const std::size_t size = head_size + (((p[head_size - 2] & 0x0F) << 8) | p[head_size - 1]);
        if (size > static_cast<std::size_t>(loop.end() - p)) break;
        p += size;
    }
    return walk;
}

// Counting first lets a table size its vector once; the decoding pass then reports an
// entry that runs past the loop.
inline std::size_t count_entries(reader loop, std::size_t head_size) {
    return walk_entries(loop, head_size).count;
}

// True when the loop holds one or more whole entries and nothing else.
inline bool holds_whole_entries(reader loop, std::size_t head_size) {
    const entry_walk walk = walk_entries(loop, head_size);
    return walk.count > 0 && walk.end == loop.end();
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
