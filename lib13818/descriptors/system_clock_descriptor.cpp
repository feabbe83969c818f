#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    flag("external_clock_reference_indicator"), reserved(1), uimsbf("clock_accuracy_integer", 6),
    uimsbf("clock_accuracy_exponent", 3),       reserved(5),
};
}  // namespace

// system_clock_descriptor, tag 0x0B (ISO/IEC 13818-1:2018 clause 2.6.20): the accuracy of the system clock,
// integer * 10^-exponent (0 means the default of 30 ppm).
constexpr description system_clock{.name = "system_clock_descriptor", .tag = 0x0B, .body = {"", fields}};

}  // namespace lib13818::descriptions
