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

TEST(DumpSections, AFileThatCannotBeReadFails) {
    char* missing[] = {const_cast<char*>("/nonexistent/sections.bin")};
    EXPECT_EQ(run_dump_sections(missing), 1);
    char* directory[] = {const_cast<char*>("/")};
    EXPECT_EQ(run_dump_sections(directory), 1);
}

}  // namespace
}  // namespace kestrel::cli
