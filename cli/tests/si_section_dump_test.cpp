#include <gtest/gtest.h>

#include <sstream>
#include <vector>

#include "cli/section_dump.h"
#include "lib13818/core/crc32.h"

namespace kestrel::cli {
namespace {

std::string dump(std::vector<std::uint8_t> s, bool long_form) {
    if (long_form) {
        s.resize(s.size() + 4);
        lib13818::seal_section(s);
    }
    std::ostringstream out;
    dump_section(out, s.data(), s.size());
    return out.str();
}

TEST(SiSectionDump, EveryDvbTableIdReachesItsTable) {
    // An SDT with one service without descriptors, then an EIT schedule (other) without events.
    EXPECT_EQ(
        dump({0x42, 0xF0, 0x11, 0x00, 0x01, 0xC1, 0x00, 0x00, 0x00, 0x85, 0xFF, 0x00, 0x10, 0xFD, 0x80, 0x00},
             true),
        "original_network_id 133\nservice_id 16\nEIT_schedule_flag 0\nEIT_present_following_flag 1\n"
        "running_status 4\nfree_CA_mode 0\n");
    EXPECT_EQ(
        dump({0x6F, 0xF0, 0x0F, 0x00, 0x02, 0xC1, 0x00, 0x00, 0x00, 0x01, 0x00, 0x85, 0x00, 0x6F}, true),
        "service_id: 2\ntransport_stream_id: 1\noriginal_network_id: 133\n"
        "segment_last_section_number: 0\nlast_table_id: 111\n");
    EXPECT_EQ(dump({0x70, 0x70, 0x05, 0xE8, 0x46, 0x19, 0x29, 0x35}, false),
              "table_id: 112\nsection_length: 5\nUTC_time: 5/9-2021 19:29:35\n");
    EXPECT_EQ(dump({0x71, 0x70, 0x01, 0x00}, false), "error: descriptor start end mismatch at byte 3\n");
    EXPECT_EQ(dump({0x72, 0x70, 0x00}, false), "unsupported table_id 0x72\n");
}

}  // namespace
}  // namespace kestrel::cli
