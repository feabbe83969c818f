#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    reserved(2),
    flag("foreign_availability"),
    uimsbf("connection_type", 5),
    reserved(1),
    length("country_prefix_length", 2),
    length("international_area_code_length", 3),
    length("operator_code_length", 2),
    reserved(1),
    length("national_area_code_length", 3),
    length("core_number_length", 4),
    text("country_prefix", bytes_in("country_prefix_length")),
    text("international_area_code", bytes_in("international_area_code_length")),
    text("operator_code", bytes_in("operator_code_length")),
    text("national_area_code", bytes_in("national_area_code_length")),
    text("core_number", bytes_in("core_number_length")),
};
}  // namespace

// telephone_descriptor, tag 0x57 (ETSI EN 300 468 V1.16.1 clause 6.2.42): a telephone number for interactive
// services, its parts as digits.
constexpr description telephone{.name = "telephone_descriptor", .tag = 0x57, .body = {"", fields}};

}  // namespace lib13818::descriptions
