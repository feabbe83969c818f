#pragma once

#include <string>
#include <string_view>

#include "lib13818/core/reader.h"

namespace lib13818 {

// DVB text as bytes (ETSI EN 300 468 Annex A). A leading character table selector is
// taken off the text and kept in `selector`, so that a view can decode the text with
// the right table later; the text itself is not converted.
struct DvbString {
    std::string text;
    std::string selector;

    // Takes the selector off the front of `bytes`.
    static DvbString split(std::string_view bytes);
    // Decodes all n bytes.
    static DvbString read(reader& r, std::size_t n);
    // Decodes a length byte and the bytes it counts.
    static DvbString read_prefixed(reader& r);
};

}  // namespace lib13818
