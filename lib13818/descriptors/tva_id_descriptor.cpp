#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name running_states[] = {{1, "not yet running"}, {2, "starts shortly"}, {3, "paused"},
                                         {4, "running"},         {5, "cancelled"},      {6, "completed"}};

constexpr field id_fields[] = {
    uimsbf("TVA_id", 16).hex(4),
    reserved(5),
    coded("running_status", 3, running_states),
};
constexpr record id{"TVA_id", id_fields};

constexpr field fields[] = {loop("TVA_ids", id, rest())};
}  // namespace

// TVA_id_descriptor, tag 0x75 (ETSI TS 102 323 V1.5.1): the TV-Anytime ids of an event and
// how far each has run.
constexpr description TVA_id{.name = "TVA_id_descriptor", .tag = 0x75, .body = {"", fields}};

}  // namespace lib13818::descriptions
