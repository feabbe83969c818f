#include <gtest/gtest.h>

#include <fstream>

#include "channels/channel_list.h"
#include "channels/tests/list_readers.h"
#include "dbexport/testing/synthetic_scan.h"
#include "dbexport/tests/export_database_reader.h"

namespace kestrel::channels {
namespace {

TEST(ChannelList, ReplacesTheFileWholeOrLeavesItAsItWas) {
    const dbexport::testing::scratch_folder folder;
    const std::string file = (folder.path() / "channels.conf").string();
    std::ofstream(file) << "earlier list\n";
    // A scan without a NIT: no orbital position for VDR's Source.
    const AllNetworks networks = dbexport::testing::synthetic_scan(2, 3, 1);
    std::size_t written = 99;

    EXPECT_NE(write_channel_list(file, networks, channel_format::vdr, {}, written), "");
    EXPECT_EQ(written, 99u);
    EXPECT_EQ(testing::file_text(file), "earlier list\n");

    ASSERT_EQ(write_channel_list(file, networks, channel_format::dvbv5, {}, written), "");
    EXPECT_EQ(written, 6u);
    std::string fault;
    EXPECT_EQ(testing::read_dvbv5(testing::file_text(file), fault).size(), 6u);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"channels.conf"});
}

}  // namespace
}  // namespace kestrel::channels
