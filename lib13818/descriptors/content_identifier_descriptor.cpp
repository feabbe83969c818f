#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name crid_types[] = {
    {0x00, "no type defined"},         {0x01, "programme"},          {0x02, "series"},
    {0x03, "recommendation"},          {0x31, "programme (UK DTG)"}, {0x32, "series (UK DTG)"},
    {0x33, "recommendation (UK DTG)"},
};
constexpr value_name crid_locations[] = {{0, "in this descriptor"}, {1, "in the content identifier table"}};

// A CRID is carried as its bytes, or referred to in the content identifier table.
constexpr field crid_fields[] = {
    coded("crid_type", 6, crid_types).hex(2),
    coded("crid_location", 2, crid_locations),
    length("crid_length", 8).when_equal("crid_location", 0),
    text("crid", bytes_in("crid_length")).when_equal("crid_location", 0),
    uimsbf("crid_ref", 16).hex(4).when_equal("crid_location", 1),
};
constexpr record crid{"crid", crid_fields};

constexpr field fields[] = {loop("crids", crid, rest())};
}  // namespace

// content_identifier_descriptor, tag 0x76 (ETSI TS 102 323 V1.5.1): the CRIDs of an event,
// by which a programme guide finds its episode and series. A CRID without an authority takes
// the default_authority in force.
constexpr description content_identifier{
    .name = "content_identifier_descriptor", .tag = 0x76, .body = {"", fields}};

}  // namespace lib13818::descriptions
