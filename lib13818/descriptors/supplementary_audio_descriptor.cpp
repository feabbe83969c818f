#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name mix_types[] = {{0, "supplementary stream"}, {1, "complete and independent stream"}};
constexpr value_name classifications[] = {
    {0x00, "main audio"},
    {0x01, "audio description for the visually impaired"},
    {0x02, "clean audio for the hearing impaired"},
    {0x03, "spoken subtitles for the visually impaired"},
};

constexpr field fields[] = {
    coded("mix_type", 1, mix_types),
    coded("editorial_classification", 5, classifications),
    reserved(1),
    flag("language_code_present"),
    language("ISO_639_language_code").when_set("language_code_present"),
    bytes("private_data_byte", rest()),
};
}  // namespace

// supplementary_audio_descriptor, extension 0x06 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.11): what an
// audio stream adds to the main audio (audio description, clean audio) and its language.
constexpr description supplementary_audio{
    .name = "supplementary_audio_descriptor", .tag = 0x7F, .extension = 0x06, .body = {"", fields}};

}  // namespace lib13818::descriptions
