#include "startup/logs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "log/log_location.h"
#include "log/trace_log.h"

namespace kestrel::startup {
namespace {

TEST(OpenLogs, OpensBothLogsBesideTheExecutable) {
    const std::filesystem::path executable = executable_path();
    open_logs(2);
    global_trace().log(2, "opened by the test %d", 2);
    global_trace().close();

    const auto trace_path = executable.parent_path() / trace_file_name(executable.filename().string());
    EXPECT_EQ(trace_file_path(executable.string()), trace_path.string());
    std::ifstream trace(trace_path);
    const std::string text{std::istreambuf_iterator<char>(trace), {}};
    EXPECT_NE(text.find("<2> - opened by the test 2\n"), std::string::npos) << text;
    EXPECT_TRUE(std::filesystem::exists(executable.parent_path() / "kestrel1.txt"));
    EXPECT_EQ(trace_file_path(""), "kestrel.txt");
}

}  // namespace
}  // namespace kestrel::startup
