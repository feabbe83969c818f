// kestrel-cli scan --channels as a user runs it: the demo's terrestrial network into a
// dvbv5 list in channel number order and into VDR's channels.conf.

#include <gtest/gtest.h>

#include <sstream>

#include "channels/tests/list_readers.h"
#include "cli/tests/run_cli.h"
#include "dbexport/tests/export_database_reader.h"

namespace kestrel::cli {
namespace {

using testing::run_cli;

TEST(ScanChannels, WritesTheDemoTerrestrialNetworkInChannelNumberOrder) {
    const dbexport::testing::scratch_folder folder;
    const std::string file = (folder.path() / "channels.conf").string();
    const std::string scan = "--settings " + (folder.path() / "settings.ini").string() +
                             " scan --card 'demo?dvb-t' --mode nit --quiet --channels " + file;

    ASSERT_EQ(run_cli(scan, false).status, 0);
    std::string fault;
    const auto blocks = channels::testing::read_dvbv5(channels::testing::file_text(file), fault);
    EXPECT_EQ(fault, "");
    ASSERT_EQ(blocks.size(), 6u);
    for (std::size_t i = 0; i < blocks.size(); ++i)
        EXPECT_EQ(blocks[i].keys.at("VCHANNEL"), std::to_string(i + 1)) << blocks[i].name;
    EXPECT_EQ(blocks[5].keys.at("STREAM_ID"), "1");

    // An existing list is replaced only with --force.
    EXPECT_EQ(run_cli(scan + " --channel-format vdr", false).status, 2);
    EXPECT_EQ(channels::testing::read_dvbv5(channels::testing::file_text(file), fault).size(), 6u);
    ASSERT_EQ(run_cli(scan + " --channel-format vdr --force", false).status, 0);
    std::istringstream lines(channels::testing::file_text(file));
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line); ++count) {
        const std::vector<std::string> fields = channels::testing::vdr_fields(line);
        ASSERT_EQ(fields.size(), 13u) << line;
        EXPECT_EQ(fields[1], count < 2 ? "506000" : "578000") << line;
    }
    EXPECT_EQ(count, 6u);
    EXPECT_EQ(folder.entries(), (std::vector<std::string>{"channels.conf", "settings.ini"}));
}

}  // namespace
}  // namespace kestrel::cli
