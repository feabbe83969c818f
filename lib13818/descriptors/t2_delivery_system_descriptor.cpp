#include "lib13818/descriptors/transposer_subcell.h"
#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name siso_miso[] = {{0, "SISO"}, {1, "MISO"}};
constexpr value_name bandwidths[] = {{0, "8 MHz"}, {1, "7 MHz"},  {2, "6 MHz"},
                                     {3, "5 MHz"}, {4, "10 MHz"}, {5, "1.712 MHz"}};
constexpr value_name guard_intervals[] = {{0, "1/32"},  {1, "1/16"},   {2, "1/8"},   {3, "1/4"},
                                          {4, "1/128"}, {5, "19/128"}, {6, "19/256"}};
constexpr value_name transmission_modes[] = {{0, "2k"}, {1, "8k"},  {2, "4k"},
                                             {3, "1k"}, {4, "16k"}, {5, "32k"}};

constexpr field frequency_fields[] = {uimsbf("centre_frequency", 32).in(units::ten_hertz)};
constexpr record frequency{"frequency", frequency_fields};

// frequency_loop_length counts bytes, not frequencies.
constexpr field cell_fields[] = {
    uimsbf("cell_id", 16).hex(4),
    length("frequency_loop_length", 8).when_set("tfs_flag"),
    loop("frequencies", frequency, bytes_in("frequency_loop_length")).when_set("tfs_flag"),
    loop("frequencies", frequency, fixed(1)).when_clear("tfs_flag"),
    length("subcell_info_loop_length", 8),
    loop("subcells", transposer_subcell, bytes_in("subcell_info_loop_length")),
};
constexpr record cell{"cell", cell_fields};

constexpr field extended_fields[] = {
    coded("SISO_MISO", 2, siso_miso),
    coded("bandwidth", 4, bandwidths),
    reserved(2),
    coded("guard_interval", 3, guard_intervals),
    coded("transmission_mode", 3, transmission_modes),
    flag("other_frequency_flag"),
    flag("tfs_flag"),
    loop("cells", cell, rest()),
};
constexpr record extended{"extended", extended_fields};

constexpr field fields[] = {
    uimsbf("plp_id", 8),
    uimsbf("T2_system_id", 16).hex(4),
    group(extended).when_more_bytes(),
};
}  // namespace

// T2_delivery_system_descriptor, extension 0x04 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause
// 6.4.6.3): the PLP that carries a transport stream of a DVB-T2 network, and the cells that
// transmit it. The short form holds only plp_id and T2_system_id; the frequency then comes
// from a terrestrial delivery or frequency list descriptor of the same loop.
constexpr description T2_delivery_system{
    .name = "T2_delivery_system_descriptor", .tag = 0x7F, .extension = 0x04, .body = {"", fields}};

}  // namespace lib13818::descriptions
