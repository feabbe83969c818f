#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>
#include <sstream>

#include "app/channel_list_command.h"
#include "app/message_box.h"
#include "app/testing/scripted_file_chooser.h"
#include "dbexport/testing/synthetic_scan.h"
#include "settings/keys.h"
#include "settings/memory_store.h"

namespace kestrel::app {
namespace {

TEST(ChannelListCommand, WritesTheChosenFormatAndKeepsThePath) {
    QTemporaryDir folder;
    QStringList messages;
    set_message_hook([&messages](const QString& text) { messages << text; });
    // One satellite network without a NIT: VDR's Source cannot be written for it.
    const AllNetworks networks = dbexport::testing::synthetic_scan(1, 2, 0);
    memory_store settings;
    testing::scripted_file_chooser files;
    const QString file = folder.filePath(QStringLiteral("sat.conf"));

    files.answers << file;
    export_channel_list(networks, settings, files, nullptr);
    ASSERT_EQ(files.requests.size(), 1u);
    EXPECT_TRUE(files.requests[0].start.endsWith("/channels.conf")) << files.requests[0].start.toStdString();
    EXPECT_EQ(files.requests[0].filters.size(), 2);
    EXPECT_EQ(messages, QStringList{"2 channels were written to " + file});
    std::ifstream written(file.toStdString());
    std::string first;
    EXPECT_TRUE(std::getline(written, first) && first.starts_with('['));

    files.answers << file;
    files.filters << files.requests[0].filters[1];
    messages.clear();
    export_channel_list(networks, settings, files, nullptr);
    EXPECT_EQ(files.requests[1].start, file);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains(QStringLiteral("orbital position"))) << messages[0].toStdString();
    EXPECT_EQ(settings::read(settings, settings::channelfile), file.toStdString());
    set_message_hook({});
}

}  // namespace
}  // namespace kestrel::app
