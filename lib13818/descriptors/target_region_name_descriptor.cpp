#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name depths[] = {{1, "primary region"}, {2, "secondary region"}, {3, "tertiary region"}};

constexpr field region_fields[] = {
    coded("region_depth", 2, depths),
    length("region_name_length", 6),
    text("region_name", bytes_in("region_name_length")),
    uimsbf("primary_region_code", 8),
    uimsbf("secondary_region_code", 8).when_in("region_depth", 2, 3),
    uimsbf("tertiary_region_code", 16).when_equal("region_depth", 3),
};
constexpr record region{"region", region_fields};

constexpr field fields[] = {
    language("country_code"),
    language("ISO_639_language_code"),
    loop("regions", region, rest()),
};
}  // namespace

// target_region_name_descriptor, extension 0x0A of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.14): the
// names of a country's target regions in one language.
constexpr description target_region_name{
    .name = "target_region_name_descriptor", .tag = 0x7F, .extension = 0x0A, .body = {"", fields}};

}  // namespace lib13818::descriptions
