#include "lib13818/descriptors/transposer_subcell.h"
#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field cell_fields[] = {
    uimsbf("cell_id", 16).hex(4),
    uimsbf("frequency", 32).in(units::ten_hertz),
    length("subcell_info_loop_length", 8),
    loop("subcells", transposer_subcell, bytes_in("subcell_info_loop_length")),
};
constexpr record cell{"cell", cell_fields};

constexpr field fields[] = {loop("cells", cell, rest())};
}  // namespace

// cell_frequency_link_descriptor, tag 0x6D (ETSI EN 300 468 V1.16.1 clause 6.2.6): the frequency each cell of
// a terrestrial network, and each transposer in it, sends the transport stream on.
constexpr description cell_frequency_link{
    .name = "cell_frequency_link_descriptor", .tag = 0x6D, .body = {"", fields}};

}  // namespace lib13818::descriptions
