#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("horizontal_size", 14),
    uimsbf("vertical_size", 14),
    uimsbf("aspect_ratio_information", 4),
};
}  // namespace

// target_background_grid_descriptor, tag 0x07 (ISO/IEC 13818-1:2018 clause 2.6.12): the display grid
// that video windows are placed on.
constexpr description target_background_grid{
    .name = "target_background_grid_descriptor", .tag = 0x07, .body = {"", fields}};

}  // namespace lib13818::descriptions
