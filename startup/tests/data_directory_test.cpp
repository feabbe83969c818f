#include "startup/data_directory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "log/tests/log_test_support.h"

namespace kestrel::startup {
namespace {

using SatelliteListLookup = testing::log_test;

// An installed program finds the user's list first, then the installed one; a list beside
// the executable (a build, a portable copy) comes before both.
TEST_F(SatelliteListLookup, PrefersTheUsersListToTheInstalledOne) {
    const std::filesystem::path executable = dir / "usr" / "bin" / "kestrel-cli";
    const std::filesystem::path beside = executable.parent_path() / "satellitecfg.txt";
    const std::filesystem::path installed = dir / "usr" / "share" / "kestrel" / "satellitecfg.txt";
    const std::filesystem::path users = dir / "home" / ".config" / "kestrel" / "satellitecfg.txt";
    const std::filesystem::path xdg = dir / "xdg" / "kestrel" / "satellitecfg.txt";
    for (const auto& file : {beside, installed, users, xdg}) {
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "\"Sat\",192,11778,1,27500,3\n";
    }
    const testing::scoped_env home("HOME", (dir / "home").c_str());
    const testing::scoped_env no_xdg("XDG_CONFIG_HOME", "relative");  // not absolute: ignored
    const auto found = [&] {
        return find_data_file(satellite_list_directories(executable), "satellitecfg.txt");
    };

    EXPECT_EQ(found(), beside);
    std::filesystem::remove(beside);
    EXPECT_EQ(found(), users);
    {
        const testing::scoped_env config("XDG_CONFIG_HOME", (dir / "xdg").c_str());
        EXPECT_EQ(found(), xdg);
    }
    std::filesystem::remove(users);
    EXPECT_EQ(found(), installed);
    std::filesystem::remove(installed);
    EXPECT_EQ(found(), std::filesystem::path());
}

}  // namespace
}  // namespace kestrel::startup
