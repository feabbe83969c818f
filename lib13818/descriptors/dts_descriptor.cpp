#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    uimsbf("sample_rate_code", 4),
    uimsbf("bit_rate_code", 6),
    uimsbf("nblks", 7),
    uimsbf("fsize", 14),
    uimsbf("surround_mode", 6),
    flag("lfe_flag"),
    uimsbf("extended_surround_flag", 2),
    bytes("additional_info", rest()),
};
}  // namespace

// DTS_descriptor, tag 0x7B (ETSI EN 300 468 V1.16.1 Annex G): the coding parameters of a DTS audio stream, as
// the codes of its frame header.
constexpr description DTS{.name = "DTS_descriptor", .tag = 0x7B, .body = {"", fields}};

}  // namespace lib13818::descriptions
