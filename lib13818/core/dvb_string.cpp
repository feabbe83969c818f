#include "lib13818/core/dvb_string.h"

#include <algorithm>

namespace lib13818 {

namespace {
// How many bytes the selector at the front of a text occupies. Every first byte below 0x20
// selects a table (the reserved ones included, so that their text is not taken for
// characters): 0x10 is followed by a 16-bit table number, 0x1F by an encoding id, the
// others stand alone. 0x00 is no selector.
std::size_t selector_size(std::uint8_t first) {
    if (first == 0x10) return 3;
    if (first == 0x1F) return 2;
    if (first >= 0x01 && first < 0x20) return 1;
    return 0;
}
}  // namespace

DvbString DvbString::split(std::string_view bytes) {
    DvbString s;
    if (bytes.empty()) return s;
    const std::size_t sel = std::min(selector_size(static_cast<std::uint8_t>(bytes[0])), bytes.size());
    s.selector.assign(bytes.substr(0, sel));
    s.text.assign(bytes.substr(sel));
    return s;
}

DvbString DvbString::read(reader& r, std::size_t n) {
    return split({reinterpret_cast<const char*>(r.bytes(n)), n});
}

DvbString DvbString::read_prefixed(reader& r) {
    return read(r, r.u8());
}

}  // namespace lib13818
