#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>

#include "app/dialogs/database_export_dlg.h"
#include "app/message_box.h"
#include "app/testing/scripted_file_chooser.h"
#include "dbexport/testing/synthetic_scan.h"
#include "dbexport/tests/export_database_reader.h"
#include "settings/memory_store.h"

namespace kestrel::app {
namespace {

TEST(DatabaseExportDialog, ExportsToTheChosenFileAndShowsAFailuresText) {
    QTemporaryDir folder;
    QStringList messages;
    set_message_hook([&messages](const QString& text) { messages << text; });
    const AllNetworks networks = dbexport::testing::synthetic_scan(2, 3, 1);
    memory_store settings;
    testing::scripted_file_chooser files;
    CDatabaseExportDlg dialog(networks, settings, files, nullptr);
    EXPECT_FALSE(dialog.export_button().isEnabled());

    const QString file = folder.filePath(QStringLiteral("scan.db"));
    files.answers << file;
    dialog.browse();
    EXPECT_EQ(files.requests.at(0).default_suffix, "db");
    EXPECT_EQ(dialog.path().text(), file);
    ASSERT_TRUE(dialog.export_button().isEnabled());
    dialog.export_database();
    EXPECT_EQ(messages, QStringList{"The database was written to " + file});
    EXPECT_EQ(dbexport::testing::query(file.toStdString(), "SELECT COUNT(*) FROM tb_service"),
              std::vector<std::string>{"6"});

    std::ofstream(folder.filePath(QStringLiteral("plain")).toStdString()) << "x";
    files.answers << folder.filePath(QStringLiteral("plain/scan.db"));
    dialog.browse();
    messages.clear();
    dialog.export_database();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("Error: ")) << messages[0].toStdString();
    set_message_hook({});
}

}  // namespace
}  // namespace kestrel::app
