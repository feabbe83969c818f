// The analysis window: a report shown as its verdict, a sortable PID table, a filtered error
// list and a plot; a capture analysed behind its dialog; the live analysis of the card
// taking the card until its window closes.

#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QMdiArea>
#include <QMenuBar>
#include <QTableWidget>
#include <filesystem>

#include "analysis/tests/stream_fixture.h"
#include "app/analysis_command.h"
#include "app/analysis_wnd.h"
#include "app/bitrate_chart.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/tests/rig.h"
#include "app/transponder_wnd.h"

namespace kestrel::app {
namespace {

using namespace analysis::testing;

QStringList column(const QTableWidget& table, int c) {
    QStringList cells;
    for (int r = 0; r < table.rowCount(); ++r)
        cells << table.item(r, c)->text();
    return cells;
}

TEST(AnalysisWindow, ShowsTheVerdictSortsPidsFiltersErrorsAndPlotsRates) {
    packet_list list = clean_stream(3000);
    for (const std::size_t n : {30, 20, 10})  // three losses, one on audio twice
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(nth(list, n == 20 ? video_pid : audio_pid, n)));
    const analysis::analysis_report report = analyse(list);

    CAnalysisWnd window(QStringLiteral("Analysis - test"));
    window.show_report(report, std::nullopt);
    EXPECT_TRUE(window.summary().text().startsWith("verdict: FAILED, raised: 1.4 (3)"))
        << window.summary().text().toStdString();

    QTableWidget& pids = window.pid_table();
    ASSERT_EQ(pids.rowCount(), static_cast<int>(report.pids.size()));
    pids.sortByColumn(3, Qt::DescendingOrder);  // packets, as numbers
    QStringList packets = column(pids, 3);
    for (int r = 1; r < packets.size(); ++r)
        EXPECT_GE(packets[r - 1].toULongLong(), packets[r].toULongLong()) << packets.join(' ').toStdString();

    QTableWidget& errors = window.error_table();
    EXPECT_EQ(errors.rowCount(), 3);
    ASSERT_EQ(window.indicator_filter().itemText(1), "1.4 Continuity_count_error");
    window.indicator_filter().setCurrentIndex(1);
    EXPECT_EQ(errors.rowCount(), 3);
    const int audio =
        window.pid_filter().findText(QStringLiteral("0x%1").arg(audio_pid, 4, 16, QLatin1Char('0')));
    ASSERT_GT(audio, 0);
    window.pid_filter().setCurrentIndex(audio);
    EXPECT_EQ(column(errors, 4), QStringList({"0x0102", "0x0102"}));
    // A new report keeps the filter chosen.
    window.show_report(report, delivery_faults{1, 0});
    EXPECT_EQ(errors.rowCount(), 2);
    EXPECT_TRUE(window.summary().text().endsWith("card: 1 demux buffer overruns, 0 lock losses"));

    const QList<QAbstractSeries*> series = window.chart().chart()->series();
    ASSERT_EQ(series.size(), static_cast<qsizetype>(std::min<std::size_t>(report.bin_pids.size(), 10)));
    EXPECT_EQ(static_cast<QAreaSeries*>(series[0])->upperSeries()->count(),
              static_cast<int>(report.bin_rates.size()));
}

TEST(AnalysisWindow, ACaptureIsAnalysedBehindItsDialogIntoAWindow) {
    const std::string capture = KESTREL_SHARED_DIR "/captures/test-025.ts";
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "capture not found: " << capture;
    testing::rig r;
    CKestrel2App application({r.settings, r.device.get(), r.satellites, ""});
    CAnalysisWnd* window = analyse_capture_file(application, capture);
    ASSERT_NE(window, nullptr) << r.messages.join('\n').toStdString();
    EXPECT_EQ(window->windowTitle(), "Analysis - test-025.ts");
    EXPECT_TRUE(window->summary().text().contains("(time base: pcr)"))
        << window->summary().text().toStdString();
    EXPECT_GT(window->pid_table().rowCount(), 0);
    EXPECT_FALSE(window->chart().chart()->series().isEmpty());
    // The transponder window is still the one scans go to.
    EXPECT_NE(static_cast<QMdiSubWindow*>(application.GetTransonderWnd()), window);

    EXPECT_EQ(analyse_capture_file(application, "/nonexistent/x.ts"), nullptr);
    ASSERT_EQ(r.messages.size(), 1);
    EXPECT_TRUE(r.messages[0].contains("/nonexistent/x.ts")) << r.messages[0].toStdString();
}

QAction* item(CMainFrame& frame, const QString& menu, const QString& text) {
    for (QAction* top : frame.menuBar()->actions())
        if (top->text() == menu)
            for (QAction* action : top->menu()->actions())
                if (action->text() == text) return action;
    return nullptr;
}

TEST(AnalysisWindow, ALiveAnalysisTakesTheCardUntilItsWindowCloses) {
    testing::rig r;
    CKestrel2App application({r.settings, r.device.get(), r.satellites, "demo"});
    CMainFrame& frame = application.main_frame();
    frame.refresh();
    QAction* analyse = item(frame, "&Action", "Stream analysis...");
    QAction* tuning = item(frame, "&Action", "Tuning...");
    QAction* open = item(frame, "&File", "Open capture...");
    ASSERT_TRUE(analyse && tuning && open);
    EXPECT_TRUE(analyse->isEnabled() && tuning->isEnabled() && open->isEnabled());

    CAnalysisWnd* window = open_stream_analysis(application);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), "Stream analysis - demo");
    // Fed once the analysis's filter is set, so that nothing fed is lost.
    ASSERT_TRUE(testing::wait_until([&] { return r.card->filter_count() == 1; }, 5000));
    std::vector<std::uint8_t> bytes;
    for (const auto& p : clean_stream(500))
        bytes.insert(bytes.end(), p.begin(), p.end());
    r.card->feed(whole_stream_pid, bytes);
    r.card->drain();
    const QString expected = QStringLiteral("%1 packets").arg(bytes.size() / 188);
    EXPECT_TRUE(testing::wait_until([&] { return window->summary().text().contains(expected); }, 5000))
        << window->summary().text().toStdString();
    frame.refresh();
    EXPECT_FALSE(analyse->isEnabled() || tuning->isEnabled() || open->isEnabled());
    EXPECT_FALSE(application.open_capture("/x.ts"));
    EXPECT_EQ(r.messages.value(0), "A stream analysis is using the card: close its window first.");

    window->close();  // deletes it, stopping the analysis
    frame.refresh();
    EXPECT_TRUE(analyse->isEnabled() && tuning->isEnabled() && open->isEnabled());
    EXPECT_EQ(r.card->filter_count(), 0u);
}

}  // namespace
}  // namespace kestrel::app
