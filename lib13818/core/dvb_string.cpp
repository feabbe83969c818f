#include "lib13818/core/dvb_string.h"

#include <algorithm>

namespace lib13818 {

namespace {
// How many bytes the selector at the front of a text occupies: 0x10 is followed by a
// 16-bit table number, 0x1F by an encoding id; the others stand alone.
std::size_t selector_size(std::uint8_t first) {
    if (first <= 0x06 || first == 0x0F || first == 0x11 || first == 0x12) return 1;
    if (first == 0x10) return 3;
    if (first == 0x1F) return 2;
    return 0;
}
}  // namespace

DvbString DvbString::read(reader& r, std::size_t n) {
    const char* p = reinterpret_cast<const char*>(r.bytes(n));
    DvbString s;
    if (n == 0) return s;
    const std::size_t sel = std::min(selector_size(static_cast<std::uint8_t>(p[0])), n);
    s.selector.assign(p, sel);
    s.text.assign(p + sel, n - sel);
    return s;
}

DvbString DvbString::read_prefixed(reader& r) { return read(r, r.u8()); }

}  // namespace lib13818
