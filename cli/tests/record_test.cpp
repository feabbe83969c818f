// kestrel-cli record end to end on a fresh capture card: exit codes, file names, contents.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli/card_commands.h"

namespace kestrel::cli {
namespace {

class RecordCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        capture_ = KESTREL_SHARED_DIR "/captures/test-103.ts";
        if (!std::filesystem::exists(capture_)) GTEST_SKIP() << "capture not found: " << capture_;
        folder_ = std::filesystem::temp_directory_path() / ("kestrel-record-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    int record(std::vector<std::string> args, const std::string& card = "") {
        args.insert(args.begin(), {"--card", card.empty() ? "capture:" + capture_ : card});
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        return run_record(argv);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    static std::string read(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // The capture's packets of one PID, in order.
    std::string packets_of(int pid) const {
        const std::string data = read(capture_);
        std::string out;
        for (std::size_t at = 0; at + 188 <= data.size(); at += 188)
            if ((((data[at + 1] & 0x1F) << 8) | static_cast<std::uint8_t>(data[at + 2])) == pid)
                out.append(data, at, 188);
        return out;
    }

    std::string capture_;
    std::filesystem::path folder_;
};

TEST_F(RecordCommand, RefusesBadArgumentsAndCardsWithStatus2) {
    EXPECT_EQ(record({"--pid", "0x10"}), 2);                               // no --out
    EXPECT_EQ(record({"--pid", "0x10", "16", "--out", path("a.ts")}), 2);  // twice
    std::vector<std::string> many{"--out", path("a.ts"), "--pid"};
    for (int pid = 0; pid < 33; ++pid)
        many.push_back(std::to_string(pid));
    EXPECT_EQ(record(many), 2);
    EXPECT_EQ(record({"--pid", "0x10", "--out", path("a.ts")}, "capture:" + path("missing.ts")), 2);
    EXPECT_FALSE(std::filesystem::exists(path("a.ts")));
}

TEST_F(RecordCommand, OnePassGivesEachPidsPacketsAndAFailedPidGivesStatus1) {
    ASSERT_EQ(record({"--pid", "0", "0x10", "--out", path("rec.ts")}), 0);
    EXPECT_TRUE(read(path("rec_0000.ts")) == packets_of(0));
    EXPECT_TRUE(read(path("rec_0010.ts")) == packets_of(0x10));
    ASSERT_EQ(record({"--pid", "0x10", "--out", path("one.ts")}), 0);
    EXPECT_TRUE(read(path("one.ts")) == packets_of(0x10));

    std::ofstream(path("plain")) << "x";
    EXPECT_EQ(record({"--pid", "0x10", "--out", path("plain/one.ts")}), 1);
}

TEST_F(RecordCommand, SecondsOnTheCaptureClockEndBeforeThePass) {
    ASSERT_EQ(record({"--pid", "0", "--out", path("short.ts"), "--seconds", "1"}), 0);
    const std::string all = packets_of(0);
    const std::string got = read(path("short.ts"));
    EXPECT_GT(got.size(), 0u);
    EXPECT_LT(got.size(), all.size() / 2);
    EXPECT_TRUE(all.compare(0, got.size(), got) == 0);
}

}  // namespace
}  // namespace kestrel::cli
