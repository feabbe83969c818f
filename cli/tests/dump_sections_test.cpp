#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <vector>

#include "cli/dump_sections.h"
#include "lib13818/tests/section_helpers.h"

namespace kestrel::cli {
namespace {

std::string dump(std::vector<std::uint8_t> bytes) {
    std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
    std::ostringstream out;
    EXPECT_TRUE(dump_sections(in, out));
    std::fclose(in);
    return out.str();
}

const std::vector<std::uint8_t> pat =
    lib13818::with_crc({0x00, 0xB0, 0x0D, 0x00, 0x01, 0xC1, 0x00, 0x00, 0x00, 0x01, 0xE1, 0x00});

TEST(DumpSections, DecodesEachSectionAndGoesOnAfterAFault) {
    std::vector<std::uint8_t> bytes = pat;
    std::vector<std::uint8_t> damaged = pat;
    damaged[9] ^= 0x01;
    bytes.insert(bytes.end(), damaged.begin(), damaged.end());
    const std::vector<std::uint8_t> unknown = {0x7E, 0x00, 0x01, 0x55};
    bytes.insert(bytes.end(), unknown.begin(), unknown.end());
    bytes.insert(bytes.end(), pat.begin(), pat.end());
    EXPECT_EQ(dump(bytes),
              "== section 1: table_id 0x00, 16 bytes\n"
              "program_number:    1\n"
              "program_map_pid:  100\n"
              "== section 2: table_id 0x00, 16 bytes\n"
              "error: crc error\n"
              "== section 3: table_id 0x7e, 4 bytes\n"
              "unsupported table_id 0x7e\n"
              "== section 4: table_id 0x00, 16 bytes\n"
              "program_number:    1\n"
              "program_map_pid:  100\n");
}

TEST(DumpSections, ATruncatedLastSectionEndsTheDump) {
    std::vector<std::uint8_t> bytes = pat;
    bytes.insert(bytes.end(), pat.begin(), pat.end() - 1);
    EXPECT_EQ(dump(bytes).substr(dump(pat).size()),
              "== section 2: table_id 0x00, 16 bytes\nerror: truncated section\n");
    EXPECT_EQ(dump({0x00, 0xB0}), "error: truncated section\n");
    EXPECT_EQ(dump({}), "");
}

TEST(DumpSections, DescribedDescriptorsShowEveryFieldAndTheirFaults) {
    // A NIT of one transport stream: a short T2 delivery descriptor, then a cable delivery
    // descriptor four bytes long, which stays undecoded.
    const std::vector<std::uint8_t> nit = lib13818::with_crc({
        0x40, 0xB0, 0x00, 0x00, 0x01, 0xC1, 0x00, 0x00, 0xF0, 0x00, 0xF0, 0x12, 0x00, 0x01, 0x00,
        0x85, 0xF0, 0x0C, 0x7F, 0x04, 0x04, 0x03, 0x00, 0x01, 0x44, 0x04, 0x03, 0x46, 0x00, 0x00,
    });
    EXPECT_EQ(dump(nit),
              "== section 1: table_id 0x40, 34 bytes\n"
              "warning at byte 24: cable_delivery_system_descriptor: descriptor_length 4 is shorter than its "
              "fixed part: kept as bytes\n"
              "stream_id 1\n"
              "original_network_id 133\n"
              "descriptor_tag: 44 User Private\n"
              "data:\n"
              "03 46 00 00" +
                  std::string(38, ' ') +
                  ": .F..\n"
                  "descriptor_tag: 7f T2_delivery_system_descriptor\n"
                  "descriptor_length 4\n"
                  "descriptor_tag_extension 4\n"
                  "plp_id 3\n"
                  "T2_system_id 1\n");
}

TEST(DumpSections, AFileThatCannotBeReadFails) {
    char* missing[] = {const_cast<char*>("/nonexistent/sections.bin")};
    EXPECT_EQ(run_dump_sections(missing), 1);
    char* directory[] = {const_cast<char*>("/")};
    EXPECT_EQ(run_dump_sections(directory), 1);
}

}  // namespace
}  // namespace kestrel::cli
