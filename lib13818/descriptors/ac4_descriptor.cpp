#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name channel_modes[] = {{0, "mono"}, {1, "stereo"}, {2, "multichannel"}};

constexpr field config_fields[] = {
    flag("ac4_dialog_enhancement_enabled"),
    coded("ac4_channel_mode", 2, channel_modes),
    reserved(5),
};
constexpr record config{"config", config_fields};

constexpr field toc_fields[] = {
    length("ac4_toc_len", 8),
    bytes("ac4_dsi_byte", bytes_in("ac4_toc_len")),
};
constexpr record toc{"toc", toc_fields};

constexpr field fields[] = {
    flag("ac4_config_flag"),
    flag("ac4_toc_flag"),
    reserved(6),
    group(config).when_set("ac4_config_flag"),
    group(toc).when_set("ac4_toc_flag"),
    bytes("additional_info", rest()),
};
}  // namespace

// AC-4_descriptor, extension 0x15 of tag 0x7F (ETSI EN 300 468 V1.16.1 Annex D): an AC-4 audio stream, its
// channel mode and decoder specific information.
constexpr description AC4{.name = "AC-4_descriptor", .tag = 0x7F, .extension = 0x15, .body = {"", fields}};

}  // namespace lib13818::descriptions
