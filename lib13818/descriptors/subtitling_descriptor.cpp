#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// The component_type values of stream_content 0x03 that subtitles use.
constexpr value_name subtitling_types[] = {
    {0x01, "EBU Teletext subtitles"},
    {0x02, "associated EBU Teletext"},
    {0x03, "VBI data"},
    {0x10, "DVB subtitles (normal)"},
    {0x11, "DVB subtitles (normal) for 4:3"},
    {0x12, "DVB subtitles (normal) for 16:9"},
    {0x13, "DVB subtitles (normal) for 2.21:1"},
    {0x14, "DVB subtitles (normal) for a high definition monitor"},
    {0x20, "DVB subtitles for the hard of hearing"},
    {0x21, "DVB subtitles for the hard of hearing for 4:3"},
    {0x22, "DVB subtitles for the hard of hearing for 16:9"},
    {0x23, "DVB subtitles for the hard of hearing for 2.21:1"},
    {0x24, "DVB subtitles for the hard of hearing for a high definition monitor"},
};

constexpr field subtitle_fields[] = {
    language("ISO_639_language_code"),
    coded("subtitling_type", 8, subtitling_types).hex(2),
    uimsbf("composition_page_id", 16),
    uimsbf("ancillary_page_id", 16),
};
constexpr record subtitle{"subtitle", subtitle_fields};

constexpr field fields[] = {loop("subtitles", subtitle, rest())};
}  // namespace

// subtitling_descriptor, tag 0x59 (ETSI EN 300 468 V1.16.1 clause 6.2.41): the languages and
// pages of a DVB subtitle stream.
constexpr description subtitling{.name = "subtitling_descriptor", .tag = 0x59, .body = {"", fields}};

}  // namespace lib13818::descriptions
