#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name depths[] = {
    {0, "country"}, {1, "primary region"}, {2, "secondary region"}, {3, "tertiary region"}};

// Each region is nested in the one before: deeper codes only follow shallower ones.
constexpr field region_fields[] = {
    reserved(5),
    flag("country_code_flag"),
    coded("region_depth", 2, depths),
    language("country_code").when_set("country_code_flag"),
    uimsbf("primary_region_code", 8).when_in("region_depth", 1, 3),
    uimsbf("secondary_region_code", 8).when_in("region_depth", 2, 3),
    uimsbf("tertiary_region_code", 16).when_equal("region_depth", 3),
};
constexpr record region{"region", region_fields};

constexpr field fields[] = {
    language("country_code"),
    loop("regions", region, rest()),
};
}  // namespace

// target_region_descriptor, extension 0x09 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.13): the regions a
// network, transport stream or service is meant for, as codes of a target_region_name list.
constexpr description target_region{
    .name = "target_region_descriptor", .tag = 0x7F, .extension = 0x09, .body = {"", fields}};

}  // namespace lib13818::descriptions
