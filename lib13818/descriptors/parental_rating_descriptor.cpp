#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// Ratings 0x01-0x0F give the minimum age minus three; higher ones are the broadcaster's.
std::string rating_name(std::uint64_t rating) {
    if (rating == 0) return "undefined";
    if (rating <= 0x0F) return "minimum age " + std::to_string(rating + 3);
    return "defined by the broadcaster";
}

constexpr field country_fields[] = {
    language("country_code"),
    uimsbf("rating", 8).described_by(rating_name),
};
constexpr record country{"country", country_fields};

constexpr field fields[] = {loop("countries", country, rest())};
}  // namespace

// parental_rating_descriptor, tag 0x55 (ETSI EN 300 468 V1.16.1 clause 6.2.28): the age an
// event is rated for, country by country.
constexpr description parental_rating{
    .name = "parental_rating_descriptor", .tag = 0x55, .body = {"", fields}};

}  // namespace lib13818::descriptions
