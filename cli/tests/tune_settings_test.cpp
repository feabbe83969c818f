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

TEST_F(TuneSettings, DeliveryOptionsAreKeptAsIntegersAndStatisticsPrinted) {
    // The demo network is DVB-S only: a DVB-S2 tuning does not lock, and is kept all the same.
    const run_result s2 = run_cli(
        "tune --card demo --system dvb-s2 --modulation 8psk --roll-off 0.20 "
        "--stream-id 1 --pls-code 131072 --pls-mode root --settings " +
        ini.string());
    EXPECT_EQ(s2.status, 1) << s2.output;
    EXPECT_NE(s2.output.find("locked:  no\nlevel:   0 %\nquality: 0 %\nstrength: n/a\ncnr:      n/a\n"
                             "ber:      n/a\npost-ber: n/a\nper:      n/a\n"),
              std::string::npos)
        << s2.output;
    const std::string text = read_text(ini);
    for (const char* line : {"SYSTEM=4\n", "MODULATION=5\n", "ROLLOFF=20\n", "STREAMID=1\n", "PLSCODE=1\n",
                             "GUARD=-1\n", "BANDWIDTHHZ=-1\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << text;

    // The frontend of the demo has no DVB-T2: said, and the tuning fails.
    const run_result t2 = run_cli("tune --card demo --system dvb-t2 --settings " + ini.string());
    EXPECT_EQ(t2.status, 1) << t2.output;
    EXPECT_NE(t2.output.find("kestrel-cli tune: Capture demo.manifest does not tune DVB-T2 as DVB-S\n"),
              std::string::npos)
        << t2.output;
}

TEST_F(TuneSettings, BadDeliveryOptionsSayWhatTheyNeed) {
    const std::pair<const char*, const char*> cases[] = {
        {"--roll-off 0.3", "--roll-off needs 0.35, 0.25, 0.20 or auto, not '0.3'"},
        {"--stream-id 256", "--stream-id needs 0 to 255 or none, not '256'"},
        {"--bandwidth 9", "--bandwidth needs 1.712, 5, 6, 7, 8, 10 or auto, not '9'"},
        {"--pls-code 0 --pls-mode root", "--pls-code 0 is no root code of the scrambling sequence"},
        {"--pls-code 262143", "--pls-code needs a Gold index from 0 to 262142, not 262143"},
    };
    for (const auto& [arguments, error] : cases) {
        const run_result run =
            run_cli("tune --card demo " + std::string(arguments) + " --settings " + ini.string());
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.output, "kestrel-cli tune: " + std::string(error) + "\n") << arguments;
    }
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
