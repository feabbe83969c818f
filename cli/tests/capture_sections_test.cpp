#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>

#include "cli/capture_sections.h"
#include "cli/text_charset.h"
#include "lib13818/core/crc32.h"
#include "ts/stream_builder.h"

namespace kestrel::cli {
namespace {

using bytes = std::vector<std::uint8_t>;

// A PAT of one program (and the network PID), version `version`.
bytes pat(std::uint16_t pmt_pid, std::uint8_t version = 0) {
    bytes s{0x00,
            0xB0,
            0x11,
            0x00,
            0x01,
            static_cast<std::uint8_t>(0xC1 | version << 1),
            0x00,
            0x00,
            0x00,
            0x00,
            0xE0,
            0x10,
            0x00,
            0x01,
            static_cast<std::uint8_t>(0xE0 | pmt_pid >> 8),
            static_cast<std::uint8_t>(pmt_pid),
            0,
            0,
            0,
            0};
    lib13818::seal_section(s);
    return s;
}

// A long-form section of another table on any PID; a TDT with the given seconds.
bytes table(std::uint8_t table_id) {
    bytes s{table_id, 0xB0, 0x09, 0x00, 0x07, 0xC1, 0x00, 0x00, 0, 0, 0, 0};
    lib13818::seal_section(s);
    return s;
}
bytes tdt(std::uint8_t seconds) {
    return {0x70, 0x70, 0x05, 0xC0, 0x79, 0x12, 0x45, seconds};
}

class CaptureSections : public ::testing::Test {
  protected:
    void SetUp() override {
        ts::stream_builder builder;
        const auto add = [&](std::uint16_t pid, const bytes& s) {
            builder.add_sections(pid, std::vector<bytes>{s});
        };
        add(0x100, table(0x02));  // before any PAT names its PID: not read
        add(0x00, pat(0x100));
        add(0x14, tdt(0x00));
        add(0x100, table(0x02));
        add(0x200, table(0x02));
        add(0x14, tdt(0x01));
        add(0x00, pat(0x100));
        add(0x00, pat(0x100, 1));
        add(0x14, tdt(0x00));
        bytes corrupted = pat(0x100);  // header and CRC_32 intact, the body not
        corrupted[9] ^= 0x01;
        add(0x00, corrupted);
        add(0x00, corrupted);
        const std::size_t wrong_sync = builder.bytes().size();
        for (int i = 0; i < 6; ++i)
            builder.add_null();
        bytes capture = builder.take();
        capture[wrong_sync] = 0x00;
        capture.resize(capture.size() + 50, 0x47);  // a truncated last packet
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(capture.data()),
                   static_cast<std::streamsize>(capture.size()));
    }
    void TearDown() override { std::filesystem::remove(path); }

    // "PID table_id seen" per distinct section, " CRC" added when it failed its CRC check.
    std::vector<std::string> summary(const section_selection& selection) {
        const capture_sections sections = read_capture_sections(path.string(), selection);
        EXPECT_EQ(sections.error, "");
        std::vector<std::string> lines;
        for (const auto& s : sections.distinct)
            lines.push_back(std::to_string(s.pid) + " " + std::to_string(s.bytes[0]) + " " +
                            std::to_string(s.seen) + (s.crc_failed ? " CRC" : ""));
        return lines;
    }

    const std::filesystem::path path =
        std::filesystem::temp_directory_path() / "kestrel-cli-sections-test.ts";
};

TEST_F(CaptureSections, FollowsThePatAndKeepsEachDistinctSectionOnce) {
    EXPECT_EQ(summary({}),
              (std::vector<std::string>{"0 0 2", "20 112 2", "256 2 1", "20 112 1", "0 0 1", "0 0 2 CRC"}));
    EXPECT_EQ(read_capture_sections(path.string(), {}).crc_failures, 2u);
    EXPECT_EQ(summary({.pids = {0x200, 0x100}}), (std::vector<std::string>{"256 2 2", "512 2 1"}));
    EXPECT_EQ(summary({.all_pids = true}).size(), 7u);
}

TEST_F(CaptureSections, PrintsEachDistinctSectionOrEveryOccurrence) {
    const capture_sections sections = read_capture_sections(path.string(), {.pids = {0x14}});
    const capture_sections all =
        read_capture_sections(path.string(), {.pids = {0x14}, .every_occurrence = true});
    EXPECT_FALSE(sections.occurrences);
    std::ostringstream distinct, every;
    print_capture_sections(distinct, sections);
    print_capture_sections(every, all);
    EXPECT_EQ(distinct.str().find("== PID 0x0014 table_id 0x70, 8 bytes, seen 2 times\n"), 0u);
    const auto headers = [](const std::string& text) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = text.find("== PID", at)) != std::string::npos; ++at)
            ++n;
        return n;
    };
    EXPECT_EQ(headers(distinct.str()), 2u);
    EXPECT_EQ(headers(every.str()), 3u);
}

// The command's warnings: sync is lost at the first wrong sync byte, CRC failures count every
// occurrence.
TEST_F(CaptureSections, WarnsOfLostSyncFailedCrcsAndATruncatedEnd) {
    std::ostringstream out, err;
    std::streambuf* const cout_buffer = std::cout.rdbuf(out.rdbuf());
    std::streambuf* const cerr_buffer = std::cerr.rdbuf(err.rdbuf());
    std::string arg = path.string();
    const std::vector<char*> args{arg.data()};
    const int status = run_sections(args);
    std::cout.rdbuf(cout_buffer);
    std::cerr.rdbuf(cerr_buffer);
    EXPECT_EQ(status, 0);
    const std::string warning = "kestrel-cli sections: warning: " + arg + ": ";
    EXPECT_EQ(err.str(), warning + "sync lost 1 times, 188 bytes skipped\n" + warning +
                             "2 sections failed their CRC check\n" + warning +
                             "truncated last packet ignored (50 bytes)\n");
    EXPECT_NE(out.str().find("seen 2 times, CRC failed\n"), std::string::npos);
}

// Every section read is counted once, with the one distinct copy of its bytes.
TEST(CaptureSectionsOnCaptures, ReadsEverySharedCapture) {
    const std::filesystem::path captures = KESTREL_SHARED_DIR "/captures";
    if (!std::filesystem::is_directory(captures)) GTEST_SKIP() << "no captures at " << captures;
    for (const auto& entry : std::filesystem::directory_iterator(captures)) {
        if (entry.path().extension() != ".ts") continue;
        const capture_sections sections = read_capture_sections(entry.path().string(), {});
        EXPECT_EQ(sections.error, "");
        EXPECT_FALSE(sections.distinct.empty()) << entry.path();
        EXPECT_EQ(sections.stats.skipped_bytes + sections.stats.truncated_bytes, 0u) << entry.path();
        std::set<std::pair<std::uint16_t, bytes>> once;
        std::size_t seen = 0;
        for (const auto& s : sections.distinct) {
            once.emplace(s.pid, s.bytes);
            seen += s.seen;
        }
        EXPECT_EQ(once.size(), sections.distinct.size()) << entry.path();
        EXPECT_EQ(seen, sections.stats.sections.sections) << entry.path();
    }
}

// Texts print as UTF-8: a service name after its selector, and a French guide sent in
// ISO 8859 without one.
TEST(CaptureSectionsOnCaptures, PrintsTheTextsOfACaptureAsUtf8) {
    const std::string captures = KESTREL_SHARED_DIR "/captures/";
    if (!std::filesystem::exists(captures + "test-030.ts")) GTEST_SKIP() << "no captures at " << captures;
    const auto printed = [&](const char* file, const char* charset) {
        const capture_sections sections = read_capture_sections(captures + file, {.pids = {0x11, 0x12}});
        std::vector<std::span<const std::uint8_t>> views;
        for (const auto& s : sections.distinct)
            views.emplace_back(s.bytes);
        lib13818::dvb_text_decoder decoder = sections_text_decoder(views);
        EXPECT_EQ(decoder.default_charset(), charset) << file;
        std::ostringstream out;
        const lib13818::text_decoder_scope scope(out, decoder);
        print_capture_sections(out, sections);
        return out.str();
    };
    EXPECT_NE(printed("test-025.ts", "").find("service_name P1.1\n"), std::string::npos);
    const std::string french = printed("test-030.ts", "ISO-8859-15");
    EXPECT_NE(french.find("Série d'animation américaine"), std::string::npos);
    EXPECT_EQ(french.find("SØrie"), std::string::npos);
}

}  // namespace
}  // namespace kestrel::cli
