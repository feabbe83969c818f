#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name renderings[] = {
    {0, "no preference"}, {1, "stereo"}, {2, "two-dimensional"}, {3, "three-dimensional"}, {4, "headphones"}};

constexpr field aux_fields[] = {uimsbf("component_tag", 8)};
constexpr record aux{"component", aux_fields};

constexpr field streams_fields[] = {
    length("num_aux_components", 3),
    reserved(5),
    loop("aux_components", aux, records_in("num_aux_components")),
};
constexpr record streams{"multi_stream_info", streams_fields};

constexpr field extension_fields[] = {
    reserved(3),
    length("future_extension_length", 5),
    bytes("future_extension_byte", bytes_in("future_extension_length")),
};
constexpr record extension{"future_extension_info", extension_fields};

constexpr field preselection_fields[] = {
    uimsbf("preselection_id", 5),
    coded("audio_rendering_indication", 3, renderings),
    flag("audio_description"),
    flag("spoken_subtitles"),
    flag("dialogue_enhancement"),
    flag("interactivity_enabled"),
    flag("language_code_present"),
    flag("text_label_present"),
    flag("multi_stream_info_present"),
    flag("future_extension"),
    language("ISO_639_language_code").when_set("language_code_present"),
    uimsbf("message_id", 8).when_set("text_label_present"),
    group(streams).when_set("multi_stream_info_present"),
    group(extension).when_set("future_extension"),
};
constexpr record preselection{"preselection", preselection_fields};

constexpr field fields[] = {
    length("num_preselections", 5),
    reserved(3),
    loop("preselections", preselection, records_in("num_preselections")),
};
}  // namespace

// audio_preselection_descriptor, extension 0x19 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.1): the audio
// experiences a next generation audio stream offers, each a set of its components.
constexpr description audio_preselection{
    .name = "audio_preselection_descriptor", .tag = 0x7F, .extension = 0x19, .body = {"", fields}};

}  // namespace lib13818::descriptions
