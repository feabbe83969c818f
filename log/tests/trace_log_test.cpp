#include "log/trace_log.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/tests/log_test_support.h"

namespace kestrel {
namespace {

class TraceLog : public testing::log_test {
  protected:
    void SetUp() override {
        log_test::SetUp();
        path = file("trace.txt");
        trace.set_clock([this] { return now; });
        trace.set_debugger_output([this](std::string_view line) { debugger.emplace_back(line); });
    }

    int32_t open_file(std::uint32_t line_format, int32_t max_level, std::uint32_t extra_mode = 0) {
        return trace.open(path.c_str(), trace_log::full_path | extra_mode, line_format, max_level);
    }

    wall_time now = dec5_144649(0);
    std::vector<std::string> debugger;
    std::string path;
    trace_log trace;
};

TEST_F(TraceLog, PrefixesAppearInOrderAcrossASecondBoundary) {
    now = {dec5_144649(0).seconds - 1, 757};
    ASSERT_EQ(open_file(0x0F, 0), 0);
    for (int i = 0; i < 11; ++i)
        trace.write("earlier", 0);
    now = dec5_144649(7);
    trace.log(0, "tuned %s at %d", "12188 H", 27500);
    trace.close();

    const std::string text = read(path);
    EXPECT_EQ(text.substr(text.rfind("  12 - ")),
              "  12 - Dec 05 14:46:49.  7 - (0.250) - <0> - tuned 12188 H at 27500\n");
}

TEST_F(TraceLog, FiltersByLevelWithoutCountingDroppedLines) {
    ASSERT_EQ(open_file(trace_log::line_number | trace_log::indent_by_level, 0), 0);
    trace.write("detail", 1);
    trace.write("always", 0);
    trace.set_level(-1);
    trace.write("silenced", 0);
    trace.write("silenced", -5);
    trace.set_level(4);
    trace.log(2, "step %d", 2);
    trace.write("too fine", 5);
    trace.close();
    EXPECT_EQ(read(path), "   1 -  always\n   2 -       step 2\n");
}

TEST_F(TraceLog, ResultCodes) {
    trace_log never_opened;
    EXPECT_EQ(never_opened.log(0, "ignored %d", 1), 0);
    EXPECT_EQ(never_opened.close(), 2);

    EXPECT_EQ(trace.open(path.c_str(), 0, 0, 0), 6);
    EXPECT_EQ(trace.open(path.c_str(), trace_log::append, 0, 0), 5);
    EXPECT_EQ(trace.open(file("missing/trace.txt").c_str(), trace_log::full_path, 0, 0), 1);
    EXPECT_EQ(trace.close(), 2);

    ASSERT_EQ(open_file(0, 0), 0);
    EXPECT_EQ(trace.open(file("second.txt").c_str(), trace_log::full_path, 0, 0), 4);
    trace.write("first file", 0);
    EXPECT_EQ(trace.close(), 0);
    EXPECT_EQ(trace.close(), 2);
    EXPECT_EQ(read(path), "first file\n");
    EXPECT_FALSE(std::filesystem::exists(file("second.txt")));
}

TEST_F(TraceLog, DebuggerOutputAloneOrBesideTheFile) {
    ASSERT_EQ(trace.open(path.c_str(), trace_log::to_debugger, trace_log::level_number, 0), 0);
    trace.write("to the debugger", 0);
    EXPECT_EQ(trace.close(), 2);
    trace.write("after close", 0);
    EXPECT_EQ(debugger, std::vector<std::string>{"<0> - to the debugger\n"});
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_EQ(open_file(0, 0, trace_log::to_debugger), 0);  // the closed log opens again
    trace.write("both", 0);
    trace.close();
    EXPECT_EQ(debugger.back(), read(path));
}

TEST_F(TraceLog, DeletesOnlyANewFileThatGotNoLine) {
    ASSERT_EQ(open_file(0, 0, trace_log::delete_if_unused), 0);
    trace.write("dropped", 1);
    trace.close();
    EXPECT_FALSE(std::filesystem::exists(path));

    ASSERT_EQ(open_file(0, 0, trace_log::delete_if_unused), 0);
    trace.write("kept", 0);
    trace.close();
    ASSERT_EQ(open_file(0, 0, trace_log::delete_if_unused | trace_log::append), 0);
    trace.close();
    EXPECT_EQ(read(path), "kept\n");
}

TEST_F(TraceLog, PlacesFilesInTheTemporaryOrAGivenFolder) {
    {
        const testing::scoped_env tmp("TMP", "");
        const testing::scoped_env temp("TEMP", dir.c_str());
        ASSERT_EQ(trace.open("in-temp.txt", trace_log::in_temp_dir, 0, 0), 0);
        trace.close();
        EXPECT_TRUE(std::filesystem::exists(file("in-temp.txt")));
    }
    ASSERT_EQ(trace.open(dir.c_str(), trace_log::time_named_in_dir, 0, 0), 0);
    trace.close();
    EXPECT_TRUE(std::filesystem::exists(file("05-Dec-26-14-46-49.log")));
}

TEST_F(TraceLog, CutsLongMessagesAndLinesAtTheBufferSize) {
    ASSERT_EQ(open_file(trace_log::line_number, 0), 0);
    const std::string long_text(3000, 'x');
    trace.write(long_text.c_str(), 0);
    trace.log(0, "%s", long_text.c_str());
    trace.close();

    const std::string cut = std::string(trace_log::buffer_size - 2 - 7, 'x') + "\n";
    EXPECT_EQ(read(path), "   1 - " + cut + "   2 - " + cut);
}

}  // namespace
}  // namespace kestrel
