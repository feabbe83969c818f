#include "cli/global_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrel::cli {
namespace {

global_options parse(std::vector<const char*> args) {
    args.insert(args.begin(), "kestrel-cli");
    return parse_global_options(static_cast<int>(args.size()), const_cast<char* const*>(args.data()));
}

TEST(GlobalOptions, ReadsTheTraceLevelBeforeTheCommandOnly) {
    const global_options spaced = parse({"--trace-level", "3", "scan", "--trace-level", "9"});
    EXPECT_EQ(spaced.trace_level, 3);
    EXPECT_EQ(spaced.command_index, 3);
    EXPECT_TRUE(spaced.error.empty());
    EXPECT_EQ(parse({"--trace-level=-1", "cards"}).trace_level, -1);

    EXPECT_EQ(parse({"--trace-level"}).error, "kestrel-cli: --trace-level needs a level (a whole number)");
    EXPECT_EQ(parse({"--trace-level", "2x"}).error,
              "kestrel-cli: --trace-level needs a whole number, not '2x'");
    EXPECT_FALSE(parse({"--trace-level=", "cards"}).error.empty());
    EXPECT_FALSE(parse({"--trace-level", "99999999999"}).error.empty());
}

}  // namespace
}  // namespace kestrel::cli
