#pragma once

#include <cstdint>
#include <span>

#include "device/card.h"

namespace kestrel {

// Whether a section passes a filter's bytes: filter byte 0 against the table_id, filter
// bytes 1.. against section bytes 3.. (the length is skipped, as the Linux demux does).
// A section too short for a byte the filter masks does not pass.
inline bool section_matches(const card_filter& filter, std::span<const std::uint8_t> section) {
    for (std::size_t i = 0; i < filter.length; ++i) {
        const std::size_t at = i == 0 ? 0 : i + 2;
        if (filter.mask[i] == 0) continue;
        if (at >= section.size()) return false;
        if ((section[at] ^ filter.data[i]) & filter.mask[i]) return false;
    }
    return true;
}

}  // namespace kestrel
