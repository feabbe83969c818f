#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name remote_access[] = {
    {0, "redistribution over the Internet is enabled"},
    {1, "redistribution over the Internet is enabled, only within a managed domain"},
    {2,
     "redistribution over the Internet is enabled, only within a managed domain after a certain short "
     "period"},
    {3, "redistribution over the Internet is not allowed"},
};

constexpr field fields[] = {
    flag("user_defined"),
    reserved(3),
    flag("do_not_scramble"),
    coded("control_remote_access_over_internet", 2, remote_access),
    flag("do_not_apply_revocation"),
};
}  // namespace

// FTA_content_management_descriptor, tag 0x7E (ETSI EN 300 468 V1.16.1 clause 6.2.18): how receivers may copy
// and redistribute free-to-air content.
constexpr description FTA_content_management{
    .name = "FTA_content_management_descriptor", .tag = 0x7E, .body = {"", fields}};

}  // namespace lib13818::descriptions
