#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <map>
#include <set>

#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/recent_captures.h"
#include "app/tests/rig.h"
#include "app/transponder_wnd.h"

namespace kestrel::app {
namespace {

using testing::rig;

// Every item of the menu bar by its path without mnemonics, "Action > SI Scanning > Current NIT".
void collect(const QList<QAction*>& actions, const QString& prefix, std::map<QString, QAction*>& items) {
    for (QAction* action : actions) {
        if (action->isSeparator()) continue;
        const QString path = prefix + QString(action->text()).remove(QLatin1Char('&'));
        if (QMenu* menu = action->menu()) {
            collect(menu->actions(), path + QStringLiteral(" > "), items);
        } else {
            items[path] = action;
        }
    }
}

std::map<QString, QAction*> menu_items(CMainFrame& frame) {
    std::map<QString, QAction*> items;
    collect(frame.menuBar()->actions(), QString(), items);
    return items;
}

QStringList menu_titles(CMainFrame& frame) {
    QStringList titles;
    for (QAction* action : frame.menuBar()->actions())
        titles << action->text();
    return titles;
}

struct card_case {
    const char* name;
    bool card;
    std::int32_t frontend;
    bool locked;
    // The items enabled in each menu beside those always enabled.
    std::set<QString> without_document;
    std::set<QString> with_document;
};

const std::set<QString> always_without_document = {"File > Transponder",
                                                   "File > Open capture...",
                                                   "File > Analyse capture...",
                                                   "File > Exit",
                                                   "View > Status Bar",
                                                   "Action > SI tables...",
                                                   "Action > General settins...",
                                                   "Help > About Kestrel...",
                                                   "Help > Kestrel homepage...",
                                                   "Help > Email author...",
                                                   "Help > Check for updates online..."};
const std::set<QString> always_with_document = {"File > Close",
                                                "File > Open capture...",
                                                "File > Analyse capture...",
                                                "File > Exit",
                                                "View > Status Bar",
                                                "View > Bytes pane",
                                                "Action > SI Tables...",
                                                "Action > General settings...",
                                                "Window > Cascade",
                                                "Window > Tile",
                                                "Window > Arrange Icons",
                                                "Help > About Kestrel...",
                                                "Help > Kestrel homepage...",
                                                "Help > Email author...",
                                                "Help > Check for updates online..."};

const card_case card_cases[] = {
    {"no card", false, frontend_dvb_s, false, {}, {}},
    {"DVB-S unlocked",
     true,
     frontend_dvb_s,
     false,
     {"Action > Tuning...", "Action > SI Scanning > All satellites", "Action > Satellite settings...",
      "Action > LNB/Disq settings..."},
     {"Action > Tuning...", "Action > SI Scanning > Configured satellites", "Action > Satellite settings...",
      "Action > LNB/Disq settings"}},
    {"DVB-S locked",
     true,
     frontend_dvb_s,
     true,
     {"Action > Tuning...", "Action > SI Scanning > All satellites", "Action > Satellite settings...",
      "Action > LNB/Disq settings...", "Action > SI Scanning > Current transponder",
      "Action > SI Scanning > Current NIT", "Action > PID Streaming > Multiple PID",
      "Action > PID Streaming > Single PID", "View > Programme guide", "Action > Stream analysis..."},
     {"Action > Tuning...", "Action > SI Scanning > Configured satellites", "Action > Satellite settings...",
      "Action > LNB/Disq settings", "Action > SI Scanning > Current transponder",
      "Action > SI Scanning > Current NIT", "Action > PID Streaming > Multiple PID",
      "Action > PID Streaming > Single PID", "View > Programme guide", "Action > Stream analysis..."}},
    {"DVB-C locked",
     true,
     frontend_dvb_c,
     true,
     {"Action > Tuning...", "Action > SI Scanning > Current transponder",
      "Action > SI Scanning > Current NIT", "Action > PID Streaming > Multiple PID",
      "Action > PID Streaming > Single PID", "View > Programme guide", "Action > Stream analysis..."},
     {"Action > Tuning...", "Action > SI Scanning > Current transponder",
      "Action > SI Scanning > Current NIT", "Action > PID Streaming > Multiple PID",
      "Action > PID Streaming > Single PID", "View > Programme guide", "Action > Stream analysis..."}},
};

void expect_enabled(CMainFrame& frame, const std::set<QString>& always, const std::set<QString>& extra,
                    const char* state) {
    for (const auto& [path, action] : menu_items(frame)) {
        const bool expected = always.count(path) + extra.count(path) > 0;
        EXPECT_EQ(action->isEnabled(), expected) << state << ": " << path.toStdString();
    }
}

TEST(MainFrame, EnablesEachCommandByCardAndMenu) {
    for (const card_case& c : card_cases) {
        rig r(c.frontend, c.locked);
        CKestrel2App application({r.settings, c.card ? r.device.get() : nullptr, r.satellites, ""});
        CMainFrame& frame = application.main_frame();
        frame.refresh();
        EXPECT_EQ(menu_titles(frame), QStringList({"&File", "&View", "&Action", "&Help"})) << c.name;
        expect_enabled(frame, always_without_document, c.without_document, c.name);

        application.GetTransonderWnd();
        frame.refresh();
        EXPECT_EQ(menu_titles(frame), QStringList({"&File", "&Edit", "&View", "&Action", "&Window", "&Help"}))
            << c.name;
        expect_enabled(frame, always_with_document, c.with_document, c.name);
    }
}

// The exports need a scan result, not a card.
TEST(MainFrame, EnablesTheExportsOnceTheScanResultHoldsATransportStream) {
    rig r;
    CKestrel2App application({r.settings, nullptr, r.satellites, ""});
    CMainFrame& frame = application.main_frame();
    application.GetTransonderWnd();
    application.all_networks()[0x85];
    frame.refresh();
    auto items = menu_items(frame);
    EXPECT_FALSE(items["File > Database export..."]->isEnabled());
    EXPECT_FALSE(items["File > Export channel list..."]->isEnabled());
    add_transponder(application.all_networks(), 0x85, 1, Transponder{}, 0);
    frame.refresh();
    EXPECT_TRUE(items["File > Database export..."]->isEnabled());
    EXPECT_TRUE(items["File > Export channel list..."]->isEnabled());
}

TEST(MainFrame, MenusCarryTheirTextsAndKeys) {
    rig r;
    CKestrel2App application({r.settings, r.device.get(), r.satellites, ""});
    CMainFrame& frame = application.main_frame();
    frame.refresh();
    auto items = menu_items(frame);
    EXPECT_EQ(items.size(), 23u);
    EXPECT_EQ(items["File > New"]->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(items["File > Exit"]->text(), "E&xit");

    application.GetTransonderWnd();
    frame.refresh();
    items = menu_items(frame);
    EXPECT_EQ(items.size(), 34u);
    EXPECT_EQ(items["Edit > Copy"]->shortcuts(),
              QList<QKeySequence>(
                  {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))}));
    EXPECT_EQ(items["Edit > Copy as JSON"]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    EXPECT_EQ(items["Edit > Undo"]->text(), "&Undo");
    EXPECT_EQ(items["Edit > Cut"]->text(), "Cu&t");
    EXPECT_EQ(frame.windowTitle(), "Kestrel - Transponder");

    // View > Bytes pane hides the open window's bytes pane and keeps the choice.
    QAction* bytes = items["View > Bytes pane"];
    ASSERT_TRUE(bytes->isCheckable());
    EXPECT_TRUE(bytes->isChecked());
    bytes->trigger();
    EXPECT_FALSE(application.GetTransonderWnd()->bytes_pane_shown());
    EXPECT_EQ(r.settings.read_int("window", "bytes_pane", 1), 0);
}

QMenu* top_menu(CMainFrame& frame, const QString& title) {
    for (QAction* action : frame.menuBar()->actions())
        if (action->text() == title) return action->menu();
    return nullptr;
}

// The items of a menu in order, "-" for a separator.
QStringList item_texts(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

TEST(MainFrame, FileAndEditItemsStandInTheirOrder) {
    rig r;
    CKestrel2App application({r.settings, r.device.get(), r.satellites, ""});
    CMainFrame& frame = application.main_frame();
    frame.refresh();
    EXPECT_EQ(item_texts(*top_menu(frame, "&File")),
              QStringList({"&New", "Transponder", "-", "Open capture...", "Analyse capture...",
                           "Recent captures", "-", "E&xit"}));
    application.GetTransonderWnd();
    frame.refresh();
    EXPECT_EQ(item_texts(*top_menu(frame, "&File")),
              QStringList({"&New", "&Close", "Database export...", "Export channel list...", "-",
                           "Open capture...", "Analyse capture...", "Recent captures", "-", "E&xit"}));
    EXPECT_EQ(item_texts(*top_menu(frame, "&Edit")),
              QStringList({"&Undo", "Cu&t", "-", "&Copy", "Copy as &JSON", "&Paste"}));
}

TEST(MainFrame, RecentCapturesNewestFirstAtMostEightAndAGoneOneRemovedWithAMessage) {
    rig r;
    QTemporaryDir folder;
    std::vector<std::string> files;
    for (int i = 0; i < 9; ++i) {
        files.push_back(folder.filePath(QStringLiteral("take%1.ts").arg(i)).toStdString());
        remember_capture(r.settings, files.back());
    }
    remember_capture(r.settings, files[3]);
    const std::vector<std::string> expected = {files[3], files[8], files[7], files[6],
                                               files[5], files[4], files[2], files[1]};
    EXPECT_EQ(recent_captures(r.settings), expected);
    EXPECT_EQ(last_capture_folder(r.settings), folder.path().toStdString());

    CKestrel2App application({r.settings, r.device.get(), r.satellites, ""});
    CMainFrame& frame = application.main_frame();
    frame.refresh();
    QMenu* recent = top_menu(frame, "&File")->actions().at(5)->menu();
    ASSERT_NE(recent, nullptr);
    emit recent->aboutToShow();
    ASSERT_EQ(recent->actions().size(), 8);
    EXPECT_EQ(recent->actions().front()->text(), "&1 " + QString::fromStdString(files[3]));
    recent->actions().front()->trigger();  // none of the files exists
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages.front().contains(QStringLiteral("no longer exists")))
        << r.messages.front().toStdString();
    EXPECT_EQ(recent_captures(r.settings), std::vector<std::string>(expected.begin() + 1, expected.end()));
}

QStringList pane_texts(CMainFrame& frame) {
    QStringList texts;
    for (QLabel* label : frame.statusBar()->findChildren<QLabel*>())
        texts << label->text();
    return texts;
}

TEST(MainFrame, StatusPanesShowLockLevelQualityAndDecibels) {
    rig r(frontend_dvb_s, true);
    CKestrel2App with_card({r.settings, r.device.get(), r.satellites, ""});
    EXPECT_EQ(pane_texts(with_card.main_frame()),
              QStringList({"NOT LOCKED", "Signal level: 0 %", "Signal quality: 0%", ""}));
    r.card->set().statistics.strength_dbm = -34.2;
    r.card->set().statistics.cnr_db = 28.1;
    with_card.main_frame().refresh();
    EXPECT_EQ(pane_texts(with_card.main_frame()),
              QStringList({"LOCKED", "Signal level: 80 %", "Signal quality: 100 %",
                           "Strength: -34.2 dBm  CNR: 28.1 dB"}));
    r.card->set().state = {false, 7, 0.5};
    r.card->set().statistics = {};
    with_card.main_frame().refresh();
    EXPECT_EQ(pane_texts(with_card.main_frame()),
              QStringList({"NOT LOCKED", "Signal level: 7 %", "Signal quality: 0 %", ""}));

    CKestrel2App without_card({r.settings, nullptr, r.satellites, ""});
    without_card.main_frame().refresh();
    EXPECT_EQ(pane_texts(without_card.main_frame()), QStringList({"", "", "", ""}));
}

TEST(MainFrame, ClosedTranponderWindowIsMadeAnew) {
    rig r;
    CKestrel2App application({r.settings, r.device.get(), r.satellites, ""});
    application.InitInstance();
    CTransponderWnd* first = application.GetTransonderWnd();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(application.GetTransonderWnd(), first);

    QMdiArea& area = application.main_frame().mdi_area();
    area.setActiveSubWindow(first);
    area.closeActiveSubWindow();
    testing::run_deferred_deletes();
    EXPECT_TRUE(area.subWindowList().isEmpty());

    CTransponderWnd* second = application.GetTransonderWnd();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(area.subWindowList().front(), second);
}

}  // namespace
}  // namespace kestrel::app
