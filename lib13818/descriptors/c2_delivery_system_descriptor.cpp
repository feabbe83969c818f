#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name frequency_types[] = {{0, "data slice tuning frequency"},
                                          {1, "C2 system centre frequency"},
                                          {2, "initial tuning position for a static data slice"}};
constexpr value_name symbol_durations[] = {{0, "448 us"}, {1, "597.33 us"}};
constexpr value_name guard_intervals[] = {{0, "1/128"}, {1, "1/64"}};

constexpr field fields[] = {
    uimsbf("plp_id", 8),
    uimsbf("data_slice_id", 8),
    uimsbf("C2_System_tuning_frequency", 32).in(units::hertz),
    coded("C2_System_tuning_frequency_type", 2, frequency_types),
    coded("active_OFDM_symbol_duration", 3, symbol_durations),
    coded("guard_interval", 3, guard_intervals),
};
}  // namespace

// C2_delivery_system_descriptor, extension 0x0D of tag 0x7F (ETSI EN 300 468 V1.16.1 clause
// 6.4.6.1): the data slice and PLP of a DVB-C2 transport stream.
constexpr description C2_delivery_system{
    .name = "C2_delivery_system_descriptor", .tag = 0x7F, .extension = 0x0D, .body = {"", fields}};

}  // namespace lib13818::descriptions
