#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/units.h"
#include "lib13818/names/delivery_codes.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name fec_outer[] = {{0, "not defined"}, {1, "no outer FEC coding"}, {2, "RS(204/188)"}};
constexpr value_name modulations[] = {{0, "not defined"}, {1, "16-QAM"},  {2, "32-QAM"},
                                      {3, "64-QAM"},      {4, "128-QAM"}, {5, "256-QAM"}};

constexpr field fields[] = {
    bcd("frequency", 8).in(units::hundred_hertz),
    reserved(12),
    coded("FEC_outer", 4, fec_outer),
    coded("modulation", 8, modulations),
    bcd("symbol_rate", 7).in(units::hundred_symbols),
    coded("FEC_inner", 4, codes::fec_inner),
};
}  // namespace

// cable_delivery_system_descriptor, tag 0x44 (ETSI EN 300 468 V1.16.1 clause 6.2.13.1): where
// a transport stream of a cable network is carried. It does not say annex A or C.
constexpr description cable_delivery_system{
    .name = "cable_delivery_system_descriptor", .tag = 0x44, .body = {"", fields}};

}  // namespace lib13818::descriptions
