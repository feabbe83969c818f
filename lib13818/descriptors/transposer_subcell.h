#pragma once

#include "lib13818/fields/description.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

// A transposer of a terrestrial cell, as the T2 delivery and cell frequency link
// descriptors list them: its cell_id_extension and the frequency it sends on.
inline constexpr field transposer_subcell_fields[] = {
    describe::uimsbf("cell_id_extension", 8),
    describe::uimsbf("transposer_frequency", 32).in(units::ten_hertz),
};
inline constexpr record transposer_subcell{"subcell", transposer_subcell_fields};

}  // namespace lib13818::descriptions
