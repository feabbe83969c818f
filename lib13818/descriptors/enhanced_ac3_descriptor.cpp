#include "lib13818/descriptors/ac3_fields.h"
#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    group(ac3_flags),
    flag("mixinfoexists"),
    flag("substream1_flag"),
    flag("substream2_flag"),
    flag("substream3_flag"),
    group(ac3_optional),
    uimsbf("substream1", 8).when_set("substream1_flag"),
    uimsbf("substream2", 8).when_set("substream2_flag"),
    uimsbf("substream3", 8).when_set("substream3_flag"),
    bytes("additional_info", rest()),
};
}  // namespace

// enhanced_AC-3_descriptor, tag 0x7A (ETSI EN 300 468 V1.16.1 Annex D): an enhanced AC-3
// audio stream and its substreams.
constexpr description enhanced_AC3{.name = "enhanced_AC-3_descriptor", .tag = 0x7A, .body = {"", fields}};

}  // namespace lib13818::descriptions
