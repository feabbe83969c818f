#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name coding_types[] = {
    {0, "not defined"}, {1, "satellite"}, {2, "cable"}, {3, "terrestrial"}};

// The centre frequencies are coded as the delivery descriptor of their coding_type codes them.
constexpr field satellite_fields[] = {bcd("centre_frequency", 8).in(units::ten_kilohertz)};
constexpr field cable_fields[] = {bcd("centre_frequency", 8).in(units::hundred_hertz)};
constexpr field terrestrial_fields[] = {uimsbf("centre_frequency", 32).in(units::ten_hertz)};
constexpr field undefined_fields[] = {uimsbf("centre_frequency", 32)};
constexpr record satellite{"frequency", satellite_fields};
constexpr record cable{"frequency", cable_fields};
constexpr record terrestrial{"frequency", terrestrial_fields};
constexpr record undefined{"frequency", undefined_fields};

constexpr field fields[] = {
    reserved(6),
    coded("coding_type", 2, coding_types),
    loop("frequencies", satellite, rest()).when_equal("coding_type", 1),
    loop("frequencies", cable, rest()).when_equal("coding_type", 2),
    loop("frequencies", terrestrial, rest()).when_equal("coding_type", 3),
    loop("frequencies", undefined, rest()).when_equal("coding_type", 0),
};
}  // namespace

// frequency_list_descriptor, tag 0x62 (ETSI EN 300 468 V1.16.1 clause 6.2.17): the other
// frequencies of the same transport stream, which its delivery descriptor's
// other_frequency_flag announces.
constexpr description frequency_list{.name = "frequency_list_descriptor", .tag = 0x62, .body = {"", fields}};

}  // namespace lib13818::descriptions
