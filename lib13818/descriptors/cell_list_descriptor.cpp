#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// Latitudes and longitudes are two's complement fractions of 90 and 180 degrees, as coded.
constexpr field subcell_fields[] = {
    uimsbf("cell_id_extension", 8),
    uimsbf("subcell_latitude", 16).hex(4),
    uimsbf("subcell_longitude", 16).hex(4),
    uimsbf("subcell_extent_of_latitude", 12),
    uimsbf("subcell_extent_of_longitude", 12),
};
constexpr record subcell{"subcell", subcell_fields};

constexpr field cell_fields[] = {
    uimsbf("cell_id", 16).hex(4),
    uimsbf("cell_latitude", 16).hex(4),
    uimsbf("cell_longitude", 16).hex(4),
    uimsbf("cell_extent_of_latitude", 12),
    uimsbf("cell_extent_of_longitude", 12),
    length("subcell_info_loop_length", 8),
    loop("subcells", subcell, bytes_in("subcell_info_loop_length")),
};
constexpr record cell{"cell", cell_fields};

constexpr field fields[] = {loop("cells", cell, rest())};
}  // namespace

// cell_list_descriptor, tag 0x6C (ETSI EN 300 468 V1.16.1 clause 6.2.7): the cells of a terrestrial network
// and the areas they cover.
constexpr description cell_list{.name = "cell_list_descriptor", .tag = 0x6C, .body = {"", fields}};

}  // namespace lib13818::descriptions
