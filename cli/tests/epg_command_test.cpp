// kestrel-cli epg as a user runs it: captures and the demo card to text, JSON and XMLTV
// (every file written checked by tv_validate_file), and the exit statuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/tests/run_cli.h"

namespace kestrel::cli {
namespace {

using testing::run_cli;
namespace fs = std::filesystem;

const std::string captures = std::string(KESTREL_SHARED_DIR) + "/captures/";

class EpgCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(folder);
        if (!fs::exists(captures)) GTEST_SKIP() << captures << " is absent: the capture runs are not checked";
    }
    void TearDown() override { fs::remove_all(folder); }

    // kestrel-cli with its own settings file, so that the user's store is never touched.
    testing::run_result epg(const std::string& arguments, bool with_errors = true) {
        return run_cli("--settings " + (folder / "settings.ini").string() + " epg " + arguments, with_errors);
    }
    static bool validates(const fs::path& file) {
        if (std::system("command -v tv_validate_file >/dev/null") != 0) return true;  // said once below
        const std::string command =
            "tv_validate_file --dtd-file /usr/share/xmltv/xmltv.dtd '" + file.string() + "' >/dev/null 2>&1";
        return std::system(command.c_str()) == 0;
    }

    const fs::path folder = fs::path(::testing::TempDir()) / ("kestrel-epg-" + std::to_string(::getpid()));
};

TEST_F(EpgCommand, ListsAndWritesTheGuidesOfCapturesAndTheDemoCard) {
    if (std::system("command -v tv_validate_file >/dev/null") != 0)
        ADD_FAILURE() << "tv_validate_file (xmltv-util) is missing: scripts/install-deps installs it";
    struct guide_case {
        std::string input;
        const char* listed;  // a line the text listing holds
    };
    const guide_case cases[] = {
        {captures + "test-030.ts", "\n  "},
        {captures + "test-101.ts", "\n  "},
        {"--card demo", "\n    18:00-18:45  Falcon Documentary  [news/current affairs (general)]"},
    };
    for (const guide_case& c : cases) {
        const fs::path xml = folder / "guide.xml";
        fs::remove(xml);
        const auto run = epg(c.input + " --xmltv " + xml.string(), false);
        EXPECT_EQ(run.status, 0) << c.input << '\n' << run.output;
        EXPECT_NE(run.output.find(c.listed), std::string::npos) << c.input << '\n' << run.output;
        EXPECT_TRUE(fs::exists(xml) && validates(xml)) << c.input << ": " << xml;
    }
}

TEST_F(EpgCommand, CapturesWithoutEventsExitThreeAndWriteNothing) {
    for (const char* name : {"test-018.ts", "test-025.ts", "test-103.ts"}) {
        const fs::path xml = folder / "none.xml";
        EXPECT_EQ(epg(captures + name + " --xmltv " + xml.string()).status, 3) << name;
        EXPECT_FALSE(fs::exists(xml)) << name;
    }
}

TEST_F(EpgCommand, ExitStatusesForBadArgumentsInputsAndOutputs) {
    const std::string capture = captures + "test-030.ts";
    std::ofstream(folder / "old.xml") << "kept";
    struct status_case {
        std::string arguments;
        int status;
    };
    const status_case cases[] = {
        {capture + " --days 0", 2},
        {capture + " --service", 2},
        {capture + " --card demo", 2},
        {capture + " --force", 2},
        {(folder / "missing.ts").string(), 2},
        {capture + " --xmltv " + (folder / "old.xml").string(), 2},
        {capture + " --xmltv " + (folder / "no" / "such" / "folder.xml").string(), 1},
        {capture + " --service 0xFFFF", 3},
    };
    for (const status_case& c : cases)
        EXPECT_EQ(epg(c.arguments).status, c.status) << c.arguments;
    std::ifstream kept(folder / "old.xml");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

TEST_F(EpgCommand, JsonCarriesEachEventsFieldsInUtc) {
    const auto run = epg("--card demo --json --service 0x11 --days 1", false);
    ASSERT_EQ(run.status, 0) << run.output;
    const nlohmann::json doc = nlohmann::json::parse(run.output);
    ASSERT_EQ(doc["services"].size(), 1u);
    const auto& service = doc["services"][0];
    EXPECT_EQ(service["service_id"], 0x11);
    EXPECT_EQ(service["name"], "Kestrel Demo 1");
    const auto& first = service["events"][0];
    EXPECT_EQ(first["start_utc"], "2026-03-14T18:00:00Z");
    EXPECT_EQ(first["duration_s"], 2700);
    EXPECT_EQ(first["source"], "pf");
    EXPECT_EQ(first["running_status"], 4);
    EXPECT_EQ(first["genres"][0]["level1"], 2);
}

}  // namespace
}  // namespace kestrel::cli
