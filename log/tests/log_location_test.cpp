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

TEST_F(LogDirectory, IsTheBuildsOutputFolderElseTheStateFolder) {
    const std::string executable = dir.string() + "/kestrel";
    EXPECT_EQ(log_directory(executable, dir.string()), dir.string());
    EXPECT_EQ(log_directory(executable, (dir / "sub" / "..").string()), dir.string());

    const testing::scoped_env home("HOME", dir.c_str());
    const testing::scoped_env relative_state("XDG_STATE_HOME", "state");  // not absolute: ignored
    // Outside its build, a program's writable folder (an unpacked copy, or run as root) is
    // never used.
    EXPECT_EQ(log_directory(executable, "/nonexistent/build/bin"), (dir / ".local/state/kestrel").string());
    EXPECT_EQ(log_directory("kestrel", dir.string()), (dir / ".local/state/kestrel").string());
    EXPECT_TRUE(std::filesystem::is_directory(dir / ".local/state/kestrel"));

    const testing::scoped_env state("XDG_STATE_HOME", (dir / "xdg").c_str());
    EXPECT_EQ(log_directory(executable, ""), (dir / "xdg/kestrel").string());
}

}  // namespace
}  // namespace kestrel
