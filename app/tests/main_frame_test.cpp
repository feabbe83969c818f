#include <gtest/gtest.h>

#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <map>
#include <set>

#include "app/kestrel_app.h"
#include "app/main_frame.h"
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
                                                "File > Exit",
                                                "View > Status Bar",
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
      "Action > LNB/Disq settings", "File > Database export..."}},
    {"DVB-S locked",
     true,
     frontend_dvb_s,
     true,
     {"Action > Tuning...", "Action > SI Scanning > All satellites", "Action > Satellite settings...",
      "Action > LNB/Disq settings...", "Action > SI Scanning > Current transponder",
      "Action > SI Scanning > Current NIT", "Action > PID Streaming > Multiple PID",
      "Action > PID Streaming > Single PID"},
     {"Action > Tuning...", "Action > SI Scanning > Configured satellites", "Action > Satellite settings...",
      "Action > LNB/Disq settings", "File > Database export...", "Action > SI Scanning > Current transponder",
      "Action > SI Scanning > Current NIT", "Action > PID Streaming > Multiple PID",
      "Action > PID Streaming > Single PID"}},
    {"DVB-C locked",
     true,
     frontend_dvb_c,
     true,
     {"Action > Tuning...", "Action > SI Scanning > Current transponder",
      "Action > PID Streaming > Multiple PID", "Action > PID Streaming > Single PID"},
     {"Action > Tuning...", "Action > SI Scanning > Current transponder",
      "Action > PID Streaming > Multiple PID", "Action > PID Streaming > Single PID"}},
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

TEST(MainFrame, MenusCarryTheirTextsAndKeys) {
    rig r;
    CKestrel2App application({r.settings, r.device.get(), r.satellites, ""});
    CMainFrame& frame = application.main_frame();
    frame.refresh();
    auto items = menu_items(frame);
    EXPECT_EQ(items.size(), 20u);
    EXPECT_EQ(items["File > New"]->shortcut(), QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(items["File > Exit"]->text(), "E&xit");

    application.GetTransonderWnd();
    frame.refresh();
    items = menu_items(frame);
    EXPECT_EQ(items.size(), 28u);
    EXPECT_EQ(items["Edit > Copy"]->shortcuts(),
              QList<QKeySequence>(
                  {QKeySequence(QStringLiteral("Ctrl+C")), QKeySequence(QStringLiteral("Ctrl+Ins"))}));
    EXPECT_EQ(items["Edit > Undo"]->text(), "&Undo");
    EXPECT_EQ(items["Edit > Cut"]->text(), "Cu&t");
    EXPECT_EQ(frame.windowTitle(), "Kestrel - Transponder");
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
