#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field fields[] = {
    reserved(5), uimsbf("t2mi_stream_id", 3),        reserved(5), uimsbf("num_t2mi_streams_minus_one", 3),
    reserved(7), flag("pcr_iscr_common_clock_flag"),
};
}  // namespace

// T2MI_descriptor, extension 0x11 of tag 0x7F (ETSI EN 300 468 V1.16.1 clause 6.4.12): a stream that carries
// T2-MI packets for DVB-T2 modulators.
constexpr description T2MI{.name = "T2MI_descriptor", .tag = 0x7F, .extension = 0x11, .body = {"", fields}};

}  // namespace lib13818::descriptions
