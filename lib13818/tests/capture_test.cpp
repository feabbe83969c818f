#include <gtest/gtest.h>

#include "lib13818/core/crc32.h"
#include "lib13818/tables/cat.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tests/capture_sections.h"

namespace lib13818 {
namespace {

bool crc_ok(const CapturedSection& s) {
    return crc32_bytewise(s.bytes.data(), s.bytes.size()) == 0;
}

// A section with a good CRC parses; a damaged one, and every truncation of a good one,
// gives the library's error. Returns how many parsed.
template <class Table>
int check_sections(const std::vector<CapturedSection>& sections) {
    int parsed = 0;
    for (const CapturedSection& s : sections) {
        SCOPED_TRACE(testing::Message() << "PID " << s.pid << ", " << s.bytes.size() << " bytes");
        Table table;
        if (!crc_ok(s)) {
            EXPECT_THROW(table.parse(s.bytes.data(), s.bytes.size()), error);
            continue;
        }
        EXPECT_NO_THROW(table.parse(s.bytes.data(), s.bytes.size()));
        parsed += table.parsed;
        for (std::size_t n = 0; n < s.bytes.size(); ++n) {
            Table truncated;
            EXPECT_THROW(truncated.parse(s.bytes.data(), n), error);
        }
    }
    return parsed;
}

class Captures : public testing::Test {
  protected:
    void SetUp() override {
        files = capture_files();
        if (files.empty()) GTEST_SKIP() << "no captures in " KESTREL_SHARED_DIR "/captures";
    }
    std::vector<std::string> files;
};

TEST_F(Captures, EveryIntactPatParses) {
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const auto sections = capture_sections(file, {0x0000});
        EXPECT_FALSE(sections.empty());
        EXPECT_GT(check_sections<Pat>(sections), 0);
    }
}

TEST_F(Captures, EveryIntactCatParses) {
    int parsed = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        parsed += check_sections<Cat>(capture_sections(file, {0x0001}));
    }
    EXPECT_GT(parsed, 0);
}

TEST_F(Captures, EveryIntactPmtParses) {
    int parsed = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::set<std::uint16_t> pmt_pids;
        for (const CapturedSection& s : capture_sections(file, {0x0000})) {
            Pat pat;
            if (!crc_ok(s)) continue;
            pat.parse(s.bytes.data(), s.bytes.size());
            for (const PatProgram& p : pat.programs)
                if (p.program_number != 0) pmt_pids.insert(static_cast<std::uint16_t>(p.PID));
        }
        std::vector<CapturedSection> pmts;
        for (CapturedSection& s : capture_sections(file, pmt_pids))
            if (s.bytes[0] == 0x02) pmts.push_back(std::move(s));
        parsed += check_sections<Pmt>(pmts);
    }
    EXPECT_GT(parsed, 0);
}

}  // namespace
}  // namespace lib13818
