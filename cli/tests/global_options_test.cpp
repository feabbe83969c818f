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
    ASSERT_EQ(spaced.command_args.size(), 2u);
    EXPECT_STREQ(spaced.command_args[0], "--trace-level");
    EXPECT_TRUE(spaced.error.empty());
    EXPECT_EQ(parse({"--trace-level=-1", "cards"}).trace_level, -1);
    EXPECT_FALSE(parse({"cards"}).trace_level);

    EXPECT_EQ(parse({"--trace-level"}).error, "kestrel-cli: --trace-level needs a level (a whole number)");
    EXPECT_EQ(parse({"--trace-level", "2x"}).error,
              "kestrel-cli: --trace-level needs a whole number, not '2x'");
    EXPECT_FALSE(parse({"--trace-level=", "cards"}).error.empty());
    EXPECT_FALSE(parse({"--trace-level", "99999999999"}).error.empty());
}

TEST(GlobalOptions, TakesTheSettingsFileBeforeOrAfterTheCommand) {
    EXPECT_EQ(parse({"--settings", "a.ini", "tune"}).settings_file, "a.ini");
    const global_options after = parse({"tune", "--card", "demo", "--settings=b.ini", "--fec", "3"});
    EXPECT_EQ(after.settings_file, "b.ini");
    EXPECT_EQ(after.command_index, 1);
    std::vector<std::string> rest(after.command_args.begin(), after.command_args.end());
    EXPECT_EQ(rest, (std::vector<std::string>{"--card", "demo", "--fec", "3"}));

    EXPECT_EQ(parse({"tune", "--settings"}).error, "kestrel-cli: --settings needs a FILE");
    EXPECT_EQ(parse({"--settings=", "tune"}).error, "kestrel-cli: --settings needs a FILE");
    EXPECT_EQ(parse({"--settings", "a.ini"}).command_index, 3);  // no command
}

TEST(GlobalOptions, ReadsTheCharsetBeforeTheCommand) {
    const global_options both = parse({"--charset", "ISO-8859-15", "--trace-level=2", "sections"});
    EXPECT_EQ(both.charset, "ISO-8859-15");
    EXPECT_EQ(both.trace_level, 2);
    EXPECT_EQ(both.command_index, 4);
    EXPECT_EQ(parse({"--charset=UTF-8", "cards"}).charset, "UTF-8");
    EXPECT_FALSE(parse({"--charset"}).error.empty());
    EXPECT_FALSE(parse({"--charset=", "cards"}).error.empty());
}

}  // namespace
}  // namespace kestrel::cli
