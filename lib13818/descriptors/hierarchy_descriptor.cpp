#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name hierarchy_types[] = {
    {1, "spatial scalability"}, {2, "SNR scalability"},      {3, "temporal scalability"},
    {4, "data partitioning"},   {5, "extension bitstream"},  {6, "private stream"},
    {7, "multi-view profile"},  {8, "combined scalability"}, {9, "MVC video sub-bitstream"},
    {15, "base layer"},
};

constexpr field fields[] = {
    flag("no_view_scalability_flag"),
    flag("no_temporal_scalability_flag"),
    flag("no_spatial_scalability_flag"),
    flag("no_quality_scalability_flag"),
    coded("hierarchy_type", 4, hierarchy_types),
    reserved(2),
    uimsbf("hierarchy_layer_index", 6),
    flag("tref_present_flag"),
    reserved(1),
    uimsbf("hierarchy_embedded_layer_index", 6),
    reserved(2),
    uimsbf("hierarchy_channel", 6),
};
}  // namespace

// hierarchy_descriptor, tag 0x04 (ISO/IEC 13818-1:2018 clause 2.6.6): the layer of a hierarchically
// coded stream and the layer it builds on.
constexpr description hierarchy{.name = "hierarchy_descriptor", .tag = 0x04, .body = {"", fields}};

}  // namespace lib13818::descriptions
