#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name teletext_types[] = {
    {1, "initial teletext page"},
    {2, "teletext subtitle page"},
    {3, "additional information page"},
    {4, "programme schedule page"},
    {5, "teletext subtitle page for hearing impaired people"},
};

constexpr field page_fields[] = {
    language("ISO_639_language_code"),
    coded("teletext_type", 5, teletext_types),
    uimsbf("teletext_magazine_number", 3),
    uimsbf("teletext_page_number", 8).hex(2),
};
constexpr record page{"page", page_fields};

constexpr field fields[] = {loop("pages", page, rest())};
}  // namespace

// VBI_teletext_descriptor, tag 0x46 (ETSI EN 300 468 V1.16.1 clause 6.2.48): teletext pages that a VBI stream
// also carries in its lines.
constexpr description VBI_teletext{.name = "VBI_teletext_descriptor", .tag = 0x46, .body = {"", fields}};

}  // namespace lib13818::descriptions
