#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name presentations[] = {
    {0, "undefined"}, {1, "video"}, {2, "still picture"}, {3, "graphics/text"}};
constexpr value_name linkages[] = {{0, "undefined"},
                                   {1, "bouquet related"},
                                   {2, "service related"},
                                   {3, "other mosaic related"},
                                   {4, "event related"}};

constexpr field elementary_cell_fields[] = {reserved(2), uimsbf("elementary_cell_id", 6)};
constexpr record elementary_cell{"elementary_cell", elementary_cell_fields};

// Linkages 2-4 name a service, 4 also one of its events.
constexpr field service_fields[] = {
    uimsbf("original_network_id", 16).hex(4),
    uimsbf("transport_stream_id", 16).hex(4),
    uimsbf("service_id", 16).hex(4),
    uimsbf("event_id", 16).hex(4).when_equal("cell_linkage_info", 4),
};
constexpr record service{"service", service_fields};

constexpr field cell_fields[] = {
    uimsbf("logical_cell_id", 6),
    reserved(7),
    coded("logical_cell_presentation_info", 3, presentations),
    length("elementary_cell_field_length", 8),
    loop("elementary_cells", elementary_cell, bytes_in("elementary_cell_field_length")),
    coded("cell_linkage_info", 8, linkages),
    uimsbf("bouquet_id", 16).hex(4).when_equal("cell_linkage_info", 1),
    group(service).when_in("cell_linkage_info", 2, 4),
};
constexpr record cell{"logical_cell", cell_fields};

constexpr field fields[] = {
    flag("mosaic_entry_point"),
    uimsbf("number_of_horizontal_elementary_cells", 3),
    reserved(1),
    uimsbf("number_of_vertical_elementary_cells", 3),
    loop("logical_cells", cell, rest()),
};
}  // namespace

// mosaic_descriptor, tag 0x51 (ETSI EN 300 468 V1.16.1 clause 6.2.21): how a mosaic service's picture is cut
// into cells and what each cell links to.
constexpr description mosaic{.name = "mosaic_descriptor", .tag = 0x51, .body = {"", fields}};

}  // namespace lib13818::descriptions
