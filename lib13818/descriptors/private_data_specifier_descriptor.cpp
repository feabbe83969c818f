#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// The specifiers whose private descriptors are decoded (ETSI TR 101 162).
constexpr value_name specifiers[] = {{0x00000028, "EACEM"}, {0x00000029, "NorDig"}};

constexpr field fields[] = {coded("private_data_specifier", 32, specifiers).hex(8)};
}  // namespace

// private_data_specifier_descriptor, tag 0x5F (ETSI EN 300 468 V1.16.1 clause 6.2.31): whose
// definitions the private descriptors after it in the same loop follow.
constexpr description private_data_specifier{
    .name = "private_data_specifier_descriptor", .tag = 0x5F, .body = {"", fields}};

}  // namespace lib13818::descriptions
