#include "log/log_location.h"

#include <gtest/gtest.h>

#include "log/tests/log_test_support.h"

namespace kestrel {
namespace {

TEST(TraceFileName, ReplacesAThreeLetterExtensionElseAppends) {
    EXPECT_EQ(trace_file_name("kestrel.exe"), "kestrel.txt");
    EXPECT_EQ(trace_file_name("kestrel-cli"), "kestrel-cli.txt");
    EXPECT_EQ(trace_file_name("kestrel.2"), "kestrel.2.txt");
}

using LogDirectory = testing::log_test;

TEST_F(LogDirectory, IsTheExecutablesFolderElseTheStateFolder) {
    EXPECT_EQ(log_directory(dir.string() + "/kestrel"), dir.string());

    const testing::scoped_env home("HOME", dir.c_str());
    const testing::scoped_env relative_state("XDG_STATE_HOME", "state");  // not absolute: ignored
    EXPECT_EQ(log_directory("kestrel"), (dir / ".local/state/kestrel").string());
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".local/state/kestrel"));
}

}  // namespace
}  // namespace kestrel
