// The programme guide on the desktop: collected from the demo card behind its dialog, shown
// as a grid of the demo's evening, searched, and exported as XMLTV.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTextBrowser>
#include <filesystem>
#include <fstream>

#include "app/dialogs/guide_collection_dlg.h"
#include "app/guide_grid.h"
#include "app/guide_wnd.h"
#include "app/message_box.h"
#include "app/testing/scripted_file_chooser.h"
#include "settings/memory_store.h"
#include "startup/session.h"

namespace kestrel::app {
namespace {

struct demo_guide {
    demo_guide() : session(store, {"demo", std::nullopt}) {
        set_message_hook([this](const QString& text) { messages << text; });
    }
    ~demo_guide() { set_message_hook({}); }

    memory_store store;
    startup::session session;
    QStringList messages;
};

TEST(GuideWindow, ShowsSearchesAndExportsTheDemoGuide) {
    demo_guide demo;
    ASSERT_NE(demo.session.device(), nullptr) << demo.session.card_error();
    CGuideCollectionDlg collection(*demo.session.device(), demo.store, nullptr);
    ASSERT_EQ(collection.exec(), 0) << demo.messages.join('\n').toStdString();
    const QString progress = collection.progress().text();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+ EIT sections, (\\d+) of \\1 sub-tables complete$"))
                    .match(progress)
                    .hasMatch())
        << progress.toStdString();

    testing::scripted_file_chooser files;
    CGuideWnd window(collection.take_guide(), files);
    ASSERT_EQ(window.days().count(), 1);
    EXPECT_EQ(window.days().currentText(), "Saturday 2026-03-14");
    const epg::day_grid& day = window.grid().day();
    EXPECT_GE(day.blocks.size(), 16u);  // eight events each of the stream's own two services at least
    EXPECT_EQ(day.now_minute, 18 * 60);

    window.search().setText("cooking");  // "Kite Cooking", one an evening on most services
    int highlighted = 0;
    for (std::size_t i = 0; i < day.blocks.size(); ++i)
        highlighted += window.grid().highlighted(i) ? 1 : 0;
    EXPECT_GT(highlighted, 0);
    EXPECT_EQ(window.matches().text(), QStringLiteral("%1 found").arg(highlighted));

    window.grid().select(0);
    EXPECT_TRUE(window.details().toPlainText().contains("Time"))
        << window.details().toPlainText().toStdString();

    const std::string file = ::testing::TempDir() + "/kestrel-demo-guide.xml";
    files.answers << QString::fromStdString(file);
    window.export_xmltv();
    std::ifstream written(file);
    std::string first_line;
    std::getline(written, first_line);
    EXPECT_EQ(first_line, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    ASSERT_EQ(demo.messages.size(), 1);
    EXPECT_TRUE(demo.messages[0].endsWith(QString::fromStdString(" programmes were written to " + file)))
        << demo.messages[0].toStdString();
    std::filesystem::remove(file);
}

}  // namespace
}  // namespace kestrel::app
