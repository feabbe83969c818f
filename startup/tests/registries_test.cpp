#include "startup/registries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "lib13818/names/registry.h"
#include "startup/data_directory.h"
#include "startup/latin1.h"
#include "startup/registry_csv.h"

namespace kestrel::startup {
namespace {

TEST(Latin1, ConvertsWhatFitsAndStandsInForTheRest) {
    EXPECT_EQ(utf8_to_latin1("Soci\xC3\xA9t\xC3\xA9 19.2\xC2\xB0"
                             "E"),
              "Soci\xE9t\xE9 19.2\xB0"
              "E");
    // Typographic quotes and dashes: ’ “ ” – —
    EXPECT_EQ(utf8_to_latin1("O\xE2\x80\x99Neil \xE2\x80\x9CTV\xE2\x80\x9D \xE2\x80\x93 \xE2\x80\x94"),
              "O'Neil \"TV\" - -");
    // The euro sign, a CJK character and an emoji are outside ISO 8859-1.
    EXPECT_EQ(utf8_to_latin1("\xE2\x82\xAC \xE4\xB8\xAD \xF0\x9F\x93\xBA"), "? ? ?");
    // A stray continuation byte, a cut sequence and an overlong '/' are malformed.
    EXPECT_EQ(utf8_to_latin1("a\x80"
                             "b\xC3"),
              "a?b?");
    EXPECT_EQ(utf8_to_latin1("\xC0\xAF"), "?");
}

TEST(RegistryCsv, ReadsQuotedNamesAndSkipsBadRows) {
    std::istringstream in(
        "id,name\r\n"
        "0x0001,\"Astra, 19.2\xC2\xB0 E\"\r\n"
        "0x0002,\"The \"\"Quoted\"\" One\"\n"
        "0x0003,Plain\n"
        "\n"
        "12,\"no hex\"\n"
        "0x10000,\"too large\"\n"
        "0x0004\n"
        "0x0005,\"two\nlines\"\n");
    const RegistryFile file = read_registry_csv(in);
    ASSERT_EQ(file.rows.size(), 4u);
    EXPECT_EQ(file.rows[0].id, 1);
    EXPECT_EQ(file.rows[0].name, "Astra, 19.2\xB0 E");
    EXPECT_EQ(file.rows[1].name, "The \"Quoted\" One");
    EXPECT_EQ(file.rows[2].name, "Plain");
    EXPECT_EQ(file.rows[3].id, 5);
    EXPECT_EQ(file.rows[3].name, "two\nlines");
    EXPECT_EQ(file.skipped, 3);
}

class LoadRegistries : public testing::Test {
  protected:
    void SetUp() override {
        trace.set_debugger_output([this](std::string_view line) { lines += line; });
        trace.open(nullptr, trace_log::to_debugger, 0, 1);
    }
    void TearDown() override { lib13818::build_registries({}, {}); }

    trace_log trace;
    std::string lines;
};

TEST_F(LoadRegistries, WithoutFilesEveryNameIsUnknownAndTheTraceSaysSoOnce) {
    const std::filesystem::path empty = testing::TempDir() + "/kestrel_no_registries";
    std::filesystem::create_directories(empty);
    load_registries({empty}, trace);
    EXPECT_STREQ(lib13818::original_network_name(1), "<unknown>");
    EXPECT_STREQ(lib13818::ca_system_name(0x0100), "<unknown>");
    EXPECT_EQ(lines,
              "registries not found in the data folders: original_network_id.csv, ca_system_id.csv "
              "(their names are all <unknown>)\n");
}

TEST_F(LoadRegistries, TheFirstFolderThatHasAFileWins) {
    const std::filesystem::path first = testing::TempDir() + "/kestrel_registries_first";
    const std::filesystem::path second = testing::TempDir() + "/kestrel_registries_second";
    for (const auto& folder : {first, second})
        std::filesystem::create_directories(folder / "registries");
    std::ofstream(first / "registries" / "ca_system_id.csv") << "id,name\n0x0100,\"First\"\n";
    std::ofstream(second / "registries" / "ca_system_id.csv") << "id,name\n0x0100,\"Second\"\n";
    std::ofstream(second / "registries" / "original_network_id.csv") << "id,name\n0x0085,\"Net\"\n";
    load_registries({first, second}, trace);
    EXPECT_STREQ(lib13818::ca_system_name(0x0100), "First");
    EXPECT_STREQ(lib13818::original_network_name(0x0085), "Net");
    EXPECT_EQ(lines, "");
}

TEST_F(LoadRegistries, ReadsTheBuildsCopyOfTheSharedRegistries) {
    if (!std::filesystem::exists(KESTREL_DATA_DIR "/registries/original_network_id.csv"))
        GTEST_SKIP() << "no registries in " KESTREL_DATA_DIR " (the shared folder is absent)";
    load_registries(data_directories(KESTREL_DATA_DIR "/kestrel-cli"), trace);
    EXPECT_EQ(lines, "");
    EXPECT_STREQ(lib13818::original_network_name(0x0001),
                 "Soci\xE9t\xE9 Europ\xE9"
                 "enne des Satellites");
    EXPECT_STREQ(lib13818::original_network_name(0xFFFE), "<unknown>");
    EXPECT_STRNE(lib13818::ca_system_name(0x0100), "<unknown>");
}

}  // namespace
}  // namespace kestrel::startup
