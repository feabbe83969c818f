#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name application_types[] = {{0x0001, "DVB-J"}, {0x0002, "DVB-HTML"}, {0x0010, "HbbTV"}};

constexpr field application_fields[] = {
    reserved(1),
    coded("application_type", 15, application_types).hex(4),
    reserved(3),
    uimsbf("AIT_version_number", 5),
};
constexpr record application{"application", application_fields};

constexpr field fields[] = {loop("applications", application, rest())};
}  // namespace

// application_signalling_descriptor, tag 0x6F (ETSI TS 102 809 V1.3.1 clause 5.3.5.1): the
// application types whose information table a stream carries, with its version.
constexpr description application_signalling{
    .name = "application_signalling_descriptor", .tag = 0x6F, .body = {"", fields}};

}  // namespace lib13818::descriptions
