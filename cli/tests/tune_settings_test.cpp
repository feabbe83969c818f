#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/tests/run_cli.h"

namespace kestrel::cli {
namespace {

using testing::run_cli;
using testing::run_result;

std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), {}};
}

class TuneSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(folder);
        std::filesystem::remove(ini);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kestrel_tune_settings_" + std::to_string(::getpid()));
    const std::filesystem::path ini = folder / "kestrel.ini";
};

TEST_F(TuneSettings, ThePlainTuneOfTheNextRunStartsWhereTheLastOneEnded) {
    const run_result first = run_cli(
        "tune --card demo --frequency 11778 --polarisation V --symbol-rate 27500 --lof1 9000000 "
        "--settings " +
        ini.string());
    ASSERT_EQ(first.status, 0) << first.output;
    std::string text = read_text(ini);
    EXPECT_NE(text.find("FREQUENCY=11778000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("POLARITY=1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("SYMBOLRATE=27500000\n"), std::string::npos) << text;

    // Without options the stored tuning and LNB values are tuned, and kept again.
    const run_result second = run_cli("--settings=" + ini.string() + " tune --card demo");
    ASSERT_EQ(second.status, 0) << second.output;
    EXPECT_NE(second.output.find("locked:  yes\n"), std::string::npos) << second.output;
    text = read_text(ini);
    EXPECT_NE(text.find("FREQUENCY=11778000\n"), std::string::npos) << text;
    EXPECT_NE(text.find("LOF1=9000000\n"), std::string::npos) << text;
}

TEST_F(TuneSettings, ASettingsFileThatCannotBeWrittenIsSaid) {
    std::ofstream(folder / "plain") << "a file, not a folder";
    const std::string ini_path = (folder / "plain" / "kestrel.ini").string();
    const run_result run = run_cli("tune --card demo --settings " + ini_path);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("kestrel-cli tune: warning: the tuning was not kept: settings file '" +
                              ini_path + "' cannot be written\n"),
              std::string::npos)
        << run.output;
}

}  // namespace
}  // namespace kestrel::cli
