#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name bandwidths[] = {{0, "8 MHz"}, {1, "7 MHz"}, {2, "6 MHz"}, {3, "5 MHz"}};
constexpr value_name priorities[] = {{0, "LP"}, {1, "HP"}};
constexpr value_name indicators[] = {{0, "used"}, {1, "not used"}};
constexpr value_name constellations[] = {{0, "QPSK"}, {1, "16-QAM"}, {2, "64-QAM"}};
constexpr value_name hierarchies[] = {
    {0, "non-hierarchical, native interleaver"},   {1, "alpha = 1, native interleaver"},
    {2, "alpha = 2, native interleaver"},          {3, "alpha = 4, native interleaver"},
    {4, "non-hierarchical, in-depth interleaver"}, {5, "alpha = 1, in-depth interleaver"},
    {6, "alpha = 2, in-depth interleaver"},        {7, "alpha = 4, in-depth interleaver"}};
constexpr value_name code_rates[] = {{0, "1/2"}, {1, "2/3"}, {2, "3/4"}, {3, "5/6"}, {4, "7/8"}};
constexpr value_name guard_intervals[] = {{0, "1/32"}, {1, "1/16"}, {2, "1/8"}, {3, "1/4"}};
constexpr value_name transmission_modes[] = {{0, "2k"}, {1, "8k"}, {2, "4k"}};

constexpr field fields[] = {
    uimsbf("centre_frequency", 32).in(units::ten_hertz).json("frequency"),
    coded("bandwidth", 3, bandwidths),
    coded("priority", 1, priorities),
    coded("Time_Slicing_indicator", 1, indicators),
    coded("MPE-FEC_indicator", 1, indicators),
    reserved(2),
    coded("constellation", 2, constellations),
    coded("hierarchy_information", 3, hierarchies),
    coded("code_rate-HP_stream", 3, code_rates),
    coded("code_rate-LP_stream", 3, code_rates),
    coded("guard_interval", 2, guard_intervals),
    coded("transmission_mode", 2, transmission_modes),
    flag("other_frequency_flag"),
    reserved(32),
};
}  // namespace

// terrestrial_delivery_system_descriptor, tag 0x5A (ETSI EN 300 468 V1.16.1 clause
// 6.2.13.4): where a DVB-T transport stream is carried. other_frequency_flag says that a
// frequency_list descriptor names more frequencies of the same stream.
constexpr description terrestrial_delivery_system{
    .name = "terrestrial_delivery_system_descriptor", .tag = 0x5A, .body = {"", fields}};

}  // namespace lib13818::descriptions
