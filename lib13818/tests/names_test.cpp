#include <gtest/gtest.h>

#include "lib13818/names/registry.h"
#include "lib13818/names/si_names.h"

namespace lib13818 {
namespace {

TEST(SiNames, ServiceTypeRanges) {
    EXPECT_STREQ(service_type_name(6), "mosiac service");
    EXPECT_STREQ(service_type_name(0x0C), "reserved for future use");
    EXPECT_STREQ(service_type_name(0x80), "user defined");
    EXPECT_STREQ(service_type_name(0xFE), "user defined");
    EXPECT_STREQ(service_type_name(0xFF), "reserved for future use");
}

TEST(SiNames, DeliveryAndTeletextCodes) {
    EXPECT_STREQ(polarisation_name(3), "circular - vertical");
    EXPECT_STREQ(polarisation_name(4), "<unknown>");
    EXPECT_STREQ(modulation_name(2), "reserved");
    EXPECT_STREQ(fec_inner_name(6), "8/9");
    EXPECT_STREQ(fec_inner_name(9), "9/10");
    EXPECT_STREQ(fec_inner_name(10), "reserved");
    EXPECT_STREQ(fec_inner_name(15), "no conv. coding");
    EXPECT_STREQ(teletext_type_name(2), "teletext subtitle page");
    EXPECT_STREQ(teletext_type_name(9), "reserved for future use");
}

TEST(Registry, ExactIdOnlyAndLastDuplicateWins) {
    const Registry r({{0x0001, "first"}, {0x0003, "old"}, {0x0010, "ten"}, {0x0003, "new"}});
    EXPECT_EQ(r.size(), 3u);
    EXPECT_STREQ(r.name(0x0001), "first");
    EXPECT_STREQ(r.name(0x0003), "new");
    // The lower bound of 2 is 3: not the id asked for.
    EXPECT_STREQ(r.name(0x0002), "<unknown>");
    EXPECT_STREQ(r.name(0x0011), "<unknown>");
    EXPECT_STREQ(Registry().name(1), "<unknown>");
}

TEST(Registry, ProgramRegistriesAnswerAfterBuild) {
    build_registries({{0x0085, "BetaTechnik"}}, {{0x0100, "Seca Mediaguard 1/2"}});
    EXPECT_STREQ(original_network_name(0x0085), "BetaTechnik");
    EXPECT_STREQ(original_network_name(0x0086), "<unknown>");
    EXPECT_STREQ(ca_system_name(0x0100), "Seca Mediaguard 1/2");
    build_registries({}, {});
    EXPECT_STREQ(ca_system_name(0x0100), "<unknown>");
}

}  // namespace
}  // namespace lib13818
