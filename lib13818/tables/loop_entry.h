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

}  // namespace lib13818
