#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field country_fields[] = {language("country_code")};
constexpr record country{"country", country_fields};

constexpr field fields[] = {
    flag("country_availability_flag"),
    reserved(7),
    loop("countries", country, rest()),
};
}  // namespace

// country_availability_descriptor, tag 0x49 (ETSI EN 300 468 V1.16.1 clause 6.2.10): the countries a service
// is meant for (flag 1) or not meant for (flag 0).
constexpr description country_availability{
    .name = "country_availability_descriptor", .tag = 0x49, .body = {"", fields}};

}  // namespace lib13818::descriptions
