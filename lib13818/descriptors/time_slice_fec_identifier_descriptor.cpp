#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name frame_sizes[] = {{0, "512 kbit / 256 rows"},
                                      {1, "1024 kbit / 512 rows"},
                                      {2, "1536 kbit / 768 rows"},
                                      {3, "2048 kbit / 1024 rows"}};

constexpr field fields[] = {
    flag("time_slicing"),
    uimsbf("mpe_fec", 2),
    reserved(2),
    coded("frame_size", 3, frame_sizes),
    uimsbf("max_burst_duration", 8),
    uimsbf("max_average_rate", 4),
    uimsbf("time_slice_fec_id", 4),
    bytes("id_selector_byte", rest()),
};
}  // namespace

// time_slice_fec_identifier_descriptor, tag 0x77 (ETSI EN 301 192 V1.7.1):
// the time slicing and MPE-FEC of a DVB-H stream.
constexpr description time_slice_fec_identifier{
    .name = "time_slice_fec_identifier_descriptor", .tag = 0x77, .body = {"", fields}};

}  // namespace lib13818::descriptions
