#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("horizontal_offset", 14),
    uimsbf("vertical_offset", 14),
    uimsbf("window_priority", 4),
};
}  // namespace

// video_window_descriptor, tag 0x08 (ISO/IEC 13818-1:2018 clause 2.6.14): where a video stream shows on the
// target background grid.
constexpr description video_window{.name = "video_window_descriptor", .tag = 0x08, .body = {"", fields}};

}  // namespace lib13818::descriptions
