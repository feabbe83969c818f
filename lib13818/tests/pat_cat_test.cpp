#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/tables/cat.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tests/section_helpers.h"

namespace lib13818 {
namespace {

TEST(Pat, KeepsEveryProgramNetworkPidIncluded) {
    const auto s = long_section(0x00, 0x0401, {0x00, 0x00, 0xE0, 0x10, 0x00, 0x01, 0xE1, 0x00});
    Pat pat;
    pat.parse(s.data(), s.size());
    ASSERT_EQ(pat.count(), 2u);
    EXPECT_EQ(pat.program(0).program_number, 0);
    EXPECT_EQ(pat.program(0).PID, 0x10);
    EXPECT_EQ(pat.program(1).program_number, 1);
    EXPECT_EQ(pat.program(1).PID, 0x100);
    std::ostringstream out;
    pat.dump(out);
    EXPECT_EQ(out.str(),
              "program_number:    0\nprogram_map_pid:   10\n"
              "program_number:    1\nprogram_map_pid:  100\n");
}

TEST(Pat, ALoopThatIsNotWholeEntriesIsKind3) {
    const auto s = long_section(0x00, 1, {0x00, 0x01, 0xE1, 0x00, 0xFF});  // section_length 14
    Pat pat;
    try {
        pat.parse(s.data(), s.size());
        ADD_FAILURE() << "parsed";
    } catch (const error& e) {
        EXPECT_EQ(e.kind, error::kind_pat_loop);
        EXPECT_FALSE(e.has_where());
    }
}

TEST(Cat, KeepsItsCaDescriptorsWithoutLength) {
    const auto s = long_section(0x01, 0xFFFF,
                                {0x09, 0x04, 0x06, 0x22, 0xE1, 0x23,  //
                                 0x09, 0x06, 0x01, 0x00, 0xE1, 0x24, 0x41, 0x0D});
    Cat cat;
    cat.parse(s.data(), s.size());
    ASSERT_EQ(cat.CA_descriptors.size(), 2u);
    EXPECT_EQ(cat.CA_descriptors[0].CA_system_ID, 0x0622);
    EXPECT_EQ(cat.CA_descriptors[0].CA_PID, 0x123);
    EXPECT_TRUE(cat.CA_descriptors[0].private_data.empty());
    EXPECT_EQ(cat.CA_descriptors[0].descriptor_length, -1);
    EXPECT_EQ(cat.CA_descriptors[1].private_data, (std::vector<std::uint8_t>{0x41, 0x0D}));
    std::ostringstream out;
    cat.dump(out);
    EXPECT_EQ(out.str(),
              "descriptor_tag: 09 CA_Descriptor\nsys_id: 0622 Irdeto\npid: 0123\n"
              "descriptor_tag: 09 CA_Descriptor\nsys_id: 0100 Canal Plus\npid: 0124\nprivate data:\n"
              "41 0d                                            : A.\n");
}

TEST(Cat, RefusesAnythingButWholeCaDescriptors) {
    EXPECT_EQ(parse_error<Cat>(long_section(0x01, 0, {0x0A, 0x04, 'e', 'n', 'g', 0x00})),
              "invalid descriptor tag");
    EXPECT_EQ(
        parse_error<Cat>(long_section(0x01, 0, {0x09, 0x04, 0x06, 0x22, 0xE1, 0x23, 0x09, 0x04, 0, 0, 0})),
        "invalid descriptor size");
    // Too short for its own fields, or longer than the section: nothing outside it is read.
    EXPECT_EQ(parse_error<Cat>(long_section(0x01, 0, {0x09, 0x02, 0x06, 0x22, 0xE1, 0x23})),
              "too little data");
    EXPECT_EQ(parse_error<Cat>(long_section(0x01, 0, {0x09, 0x05, 0x06, 0x22, 0xE1, 0x23})),
              "too little data");
}

}  // namespace
}  // namespace lib13818
