#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/dialogs/si_reader_dlg.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/recent_captures.h"
#include "app/scan_command.h"
#include "app/table_tree_model.h"
#include "app/tests/rig.h"
#include "app/transponder_wnd.h"
#include "log/trace_log.h"
#include "settings/keys.h"
#include "startup/lnb_settings.h"
#include "startup/session.h"
#include "views/table_tree.h"

namespace kestrel::app {
namespace {

const std::filesystem::path captures = KESTREL_SHARED_DIR "/captures";

// The desktop program as it starts on a card the session opens (and the capture given on
// its command line), its boxes caught: messages noted, questions noted and answered with
// `answer`.
struct demo_app {
    explicit demo_app(const std::string& card = "demo", const std::string& capture = {})
        : session(store, {card, std::nullopt}),
          app({store, session.device(), session.satellites(), session.card_spec(),
               [this](const std::string& spec) -> card_swap {
                   if (std::string error = session.replace_card(spec); !error.empty())
                       return {nullptr, "", error};
                   return {session.device(), session.card_spec(), ""};
               }}) {
        set_message_hook([this](const QString& text) { messages << text; });
        set_question_hook([this](const QString& text) {
            questions << text;
            return answer;
        });
        app.InitInstance(capture);
    }
    ~demo_app() {
        set_message_hook({});
        set_question_hook({});
    }

    std::size_t transponders() {
        std::size_t count = 0;
        for (const auto& [onid, network] : app.all_networks())
            count += network.transponders.size();
        return count;
    }

    memory_store store;
    startup::session session;
    CKestrel2App app;
    QStringList messages;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::Yes;
};

// The tree shown is the builder's tree of the result, node for node.
void expect_shows(demo_app& d) {
    table_tree_model* model = d.app.GetTransonderWnd()->tree_model();
    ASSERT_NE(model, nullptr);
    const views::table_tree expected(d.app.all_networks(), {});
    std::ostringstream shown, built;
    const std::function<void(const QModelIndex&, int)> walk = [&](const QModelIndex& index, int depth) {
        shown << std::string(static_cast<std::size_t>(depth), ' ')
              << model->data(index).toString().toStdString() << '\n';
        for (int row = 0; row < model->rowCount(index); ++row)
            walk(model->index(row, 0, index), depth + 1);
    };
    walk(model->index(0, 0), 0);
    const std::function<void(const views::tree_node&, int)> list = [&](const views::tree_node& node,
                                                                       int depth) {
        built << std::string(static_cast<std::size_t>(depth), ' ') << node.text << '\n';
        for (const auto& child : node.children)
            list(*child, depth + 1);
    };
    list(expected.root(), 0);
    EXPECT_EQ(shown.str(), built.str());
    EXPECT_TRUE(d.app.GetTransonderWnd()->tree_pane().isExpanded(model->index(0, 0)));
}

const QString keep_question = QStringLiteral("Data is already loaded.\nDo you want to keep existing data ?");

TEST(ScanCommands, ScanTheDemoAndAskWhetherToKeepWhatIsLoaded) {
    demo_app d;
    ASSERT_NE(d.app.device(), nullptr) << d.session.card_error();
    run_scan_command(d.app, ScanContext::current_transponder);
    EXPECT_TRUE(d.questions.isEmpty());
    EXPECT_EQ(d.transponders(), 1u);
    expect_shows(d);

    d.answer = QMessageBox::Cancel;
    run_scan_command(d.app, ScanContext::current_nit);
    EXPECT_EQ(d.questions, QStringList{keep_question});
    EXPECT_EQ(d.transponders(), 1u);

    d.answer = QMessageBox::Yes;  // the NIT scan adds the rest of the first satellite's network
    run_scan_command(d.app, ScanContext::current_nit);
    EXPECT_EQ(d.transponders(), 6u);
    expect_shows(d);

    d.answer = QMessageBox::No;
    run_scan_command(d.app, ScanContext::current_transponder);
    EXPECT_EQ(d.transponders(), 1u);
    expect_shows(d);

    settings::write(d.store, settings::lnb_satellite[0], "Kestrel Sat A");
    settings::write(d.store, settings::lnb_satellite[1], "Kestrel Sat B");
    settings::write(d.store, settings::disqmode, 2);
    startup::restore_lnb_settings(d.store, *d.app.device());
    run_scan_command(d.app, ScanContext::configured_satellites);
    EXPECT_EQ(d.transponders(), 8u);
    expect_shows(d);
    EXPECT_TRUE(d.messages.isEmpty()) << d.messages.join('\n').toStdString();
}

TEST(ScanCommands, ScanTheNitOfTheTerrestrialDemo) {
    demo_app d("demo?dvb-t");
    ASSERT_NE(d.app.device(), nullptr) << d.session.card_error();
    run_scan_command(d.app, ScanContext::current_nit);
    EXPECT_EQ(d.transponders(), 3u);  // the DVB-T multiplex and both PLPs of the DVB-T2 one
    expect_shows(d);
    EXPECT_TRUE(d.messages.isEmpty()) << d.messages.join('\n').toStdString();

    // The walk's steps show on the dialog's line, never in a box.
    AllNetworks networks;
    ScanContext context;
    context.mode = ScanContext::current_nit;
    CSIReaderDlg dialog(networks, context, {*d.app.device(), d.store, d.session.satellites()}, nullptr);
    EXPECT_EQ(dialog.exec(), 1);
    EXPECT_EQ(dialog.note_line().text(), "tuning DVB-T2 578.000 MHz PLP 1");
    EXPECT_TRUE(d.messages.isEmpty()) << d.messages.join('\n').toStdString();
}

TEST(ScanCommands, OpenedCapturesReplaceTheCardAndSayWhatTheyLack) {
    if (!std::filesystem::exists(captures)) GTEST_SKIP() << "no captures in " << captures;
    demo_app d;
    ASSERT_NE(d.app.device(), nullptr) << d.session.card_error();
    ASSERT_TRUE(d.app.open_capture((captures / "test-103.ts").string()));
    EXPECT_EQ(d.app.card_spec(), "capture:" + (captures / "test-103.ts").string());
    EXPECT_TRUE(d.app.main_frame().card_list().currentText().contains(QStringLiteral("test-103.ts")));
    EXPECT_EQ(d.transponders(), 1u);
    expect_shows(d);
    EXPECT_FALSE(d.app.open_capture((captures / "missing.ts").string()));
    ASSERT_EQ(d.messages.size(), 1);

    // No drops the result while no tree points into it any more; the window repaints.
    d.answer = QMessageBox::No;
    ASSERT_TRUE(d.app.open_capture((captures / "test-025.ts").string()));
    EXPECT_EQ(d.questions.size(), 1);
    EXPECT_EQ(d.transponders(), 0u);
    EXPECT_EQ(d.messages.back(), "No NIT was received on this transport stream: nothing was added.");
    d.app.GetTransonderWnd()->tree_pane().viewport()->repaint();

    run_scan_command(d.app, ScanContext::current_nit);
    EXPECT_EQ(d.messages.back(), "Failed to read NIT");
    EXPECT_EQ(d.app.GetTransonderWnd()->tree_model(), nullptr);
    d.app.GetTransonderWnd()->tree_pane().viewport()->repaint();

    // The keep at the end leaves the tuning of the card the program started with.
    const TUNERPARM demo_tuning = startup::load_lnb_settings(d.store, frontend_dvb_s).tuning;
    ASSERT_TRUE(d.session.keep());
    EXPECT_EQ(startup::load_lnb_settings(d.store, frontend_dvb_s).tuning.frequency, demo_tuning.frequency);
}

TEST(ScanCommands, ACaptureOnTheCommandLineIsOpenedAndScannedOnceTheWindowIsUp) {
    if (!std::filesystem::exists(captures)) GTEST_SKIP() << "no captures in " << captures;
    const std::string capture = (captures / "test-103.ts").string();
    demo_app d("demo", capture);
    EXPECT_EQ(d.transponders(), 0u);  // not before the event loop runs
    ASSERT_TRUE(testing::wait_until([&] { return d.transponders() == 1; }));
    EXPECT_EQ(d.app.card_spec(), "capture:" + capture);
    expect_shows(d);
    EXPECT_EQ(recent_captures(d.store), std::vector<std::string>{capture});

    demo_app missing("demo", (captures / "missing.ts").string());
    ASSERT_TRUE(testing::wait_until([&] { return !missing.messages.isEmpty(); }));
    EXPECT_TRUE(missing.messages.front().contains(QStringLiteral("missing.ts")))
        << missing.messages.front().toStdString();
    EXPECT_EQ(missing.app.card_spec(), "demo");  // it stays on its card
    EXPECT_TRUE(missing.app.main_frame().isVisible());
    EXPECT_TRUE(recent_captures(missing.store).empty());
}

std::string read_file(const std::filesystem::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), {}};
}

// On a card that never delivers, every collection waits until it is cancelled.
TEST(SIReadingDialog, CancelEscapeAndCloseEndOnlyTheCollectionInProgress) {
    const std::filesystem::path trace =
        std::filesystem::temp_directory_path() / "kestrel_si_dialog_trace.txt";
    global_trace().close();  // a session of an earlier test opened it
    ASSERT_EQ(global_trace().open(trace.c_str(), trace_log::full_path, 0, 0), 0);
    global_trace().set_level(4);
    testing::rig r;
    AllNetworks networks;
    ScanContext context;
    CSIReaderDlg dialog(networks, context, {*r.device, r.settings, r.satellites}, nullptr);
    dialog.show();
    const auto collecting = [&](const char* table) {
        return testing::wait_until([&] { return dialog.row_edit(0, 0).text() == table; });
    };
    ASSERT_TRUE(collecting("NIT"));
    EXPECT_EQ(dialog.row_edit(0, 1).text(), "0010");
    dialog.reject();
    ASSERT_TRUE(collecting("SDT"));
    EXPECT_TRUE(dialog.isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &escape);
    ASSERT_TRUE(collecting("PAT"));
    EXPECT_TRUE(dialog.isVisible());
    dialog.close();
    ASSERT_TRUE(testing::wait_until([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(dialog.missing_tables(), "NIT, SDT, PAT");
    EXPECT_TRUE(networks.empty());
    global_trace().close();
    const std::string lines = read_file(trace);
    std::size_t cancels = 0;
    for (std::size_t at = lines.find("CSIReaderDlg::OnCancel()"); at != std::string::npos;
         at = lines.find("CSIReaderDlg::OnCancel()", at + 1))
        ++cancels;
    EXPECT_EQ(cancels, 3u);
    EXPECT_NE(lines.find("CSIReaderDlg::OnEndDlg(0,0)"), std::string::npos);
    std::filesystem::remove(trace);
}

TEST(SIReadingDialog, StopScanEndsTheScanAfterTheCollectionAndAFailedStartIsSaid) {
    testing::rig r;
    AllNetworks networks;
    ScanContext context;
    {
        CSIReaderDlg dialog(networks, context, {*r.device, r.settings, r.satellites}, nullptr);
        dialog.show();
        ASSERT_TRUE(testing::wait_until([&] { return dialog.row_edit(0, 0).text() == "NIT"; }));
        dialog.stop_button().click();
        EXPECT_TRUE(dialog.isVisible());
        dialog.reject();
        ASSERT_TRUE(testing::wait_until([&] { return !dialog.isVisible(); }));
        EXPECT_EQ(dialog.result(), 0);
    }

    {  // the program quits while a collection waits: the dialog goes without waiting for ever
        CSIReaderDlg left(networks, context, {*r.device, r.settings, r.satellites}, nullptr);
        left.show();
        ASSERT_TRUE(testing::wait_until([&] { return left.row_edit(0, 0).text() == "NIT"; }));
    }

    worker_dialog::fail_next_start_for_testing(true);
    CSIReaderDlg refused(networks, context, {*r.device, r.settings, r.satellites}, nullptr);
    EXPECT_EQ(refused.exec(), worker_dialog::no_worker);
    EXPECT_EQ(r.messages, QStringList{"Failed to create thread"});
}

}  // namespace
}  // namespace kestrel::app
