#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// The programme identification label: the announced start of the programme, local time.
constexpr field fields[] = {
    reserved(4), uimsbf("day", 5), uimsbf("month", 4), uimsbf("hour", 5), uimsbf("minute", 6),
};
}  // namespace

// PDC_descriptor, tag 0x69 (ETSI EN 300 468 V1.16.1 clause 6.2.30): the programme delivery control label that
// recorders follow; its 20 bits are read as the day, month, hour and minute they code.
constexpr description PDC{.name = "PDC_descriptor", .tag = 0x69, .body = {"", fields}};

}  // namespace lib13818::descriptions
