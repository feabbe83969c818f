#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name purposes[] = {
    {0x00, "same-language subtitles"},
    {0x01, "hard of hearing subtitles"},
    {0x02, "translation subtitles"},
    {0x03, "audio description"},
};
constexpr value_name tts[] = {{0, "unknown"}, {1, "suitable"}, {2, "not suitable"}};

constexpr field profile_fields[] = {uimsbf("dvb_ttml_profile", 8)};
constexpr record profile{"profile", profile_fields};

constexpr field font_fields[] = {reserved(1), uimsbf("essential_font_id", 7)};
constexpr record font{"font", font_fields};
constexpr field fonts_fields[] = {
    length("font_count", 8),
    loop("fonts", font, records_in("font_count")),
};
constexpr record fonts{"essential_fonts", fonts_fields};

constexpr field fields[] = {
    language("ISO_639_language_code"),
    coded("subtitle_purpose", 6, purposes),
    coded("TTS_suitability", 2, tts),
    flag("essential_font_usage_flag"),
    flag("qualifier_present_flag"),
    reserved(2),
    length("dvb_ttml_profile_count", 4),
    loop("profiles", profile, records_in("dvb_ttml_profile_count")),
    uimsbf("qualifier", 32).hex(8).when_set("qualifier_present_flag"),
    group(fonts).when_set("essential_font_usage_flag"),
    length("text_length", 8),
    text("text", bytes_in("text_length")),
};
}  // namespace

// TTML_subtitling_descriptor, extension 0x20 of tag 0x7F (ETSI EN 303 560 V1.1.1 clause
// 5.2.1.1): a TTML subtitle stream, its language, purpose, profiles and fonts.
constexpr description TTML_subtitling{
    .name = "TTML_subtitling_descriptor", .tag = 0x7F, .extension = 0x20, .body = {"", fields}};

}  // namespace lib13818::descriptions
