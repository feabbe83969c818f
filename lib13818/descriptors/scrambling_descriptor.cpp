#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name modes[] = {
    {0x01, "DVB-CSA1"},
    {0x02, "DVB-CSA2"},
    {0x03, "DVB-CSA3 in standard mode"},
    {0x04, "DVB-CSA3 in minimally enhanced mode"},
    {0x05, "DVB-CSA3 in fully enhanced mode"},
    {0x10, "DVB-CISSA version 1"},
};

constexpr field fields[] = {coded("scrambling_mode", 8, modes).hex(2)};
}  // namespace

// scrambling_descriptor, tag 0x65 (ETSI EN 300 468 V1.16.1 clause 6.2.32): the scrambling algorithm of a
// service's streams.
constexpr description scrambling{.name = "scrambling_descriptor", .tag = 0x65, .body = {"", fields}};

}  // namespace lib13818::descriptions
