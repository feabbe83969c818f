#pragma once

#include <QMdiSubWindow>
#include <memory>
#include <optional>

#include "analysis/report.h"
#include "device/card.h"
#include "streaming/card_analysis.h"

class QComboBox;
class QLabel;
class QTableWidget;
class QTimer;

namespace kestrel::app {

class bitrate_chart;

// The window of a stream analysis (an MDI child the transponder-window lookup ignores): the
// summary line with the verdict, and pages for the PID table (sortable by any column), the
// kept errors (filtered by indicator and PID) and the stacked bit rate plot. It shows a
// finished report, or follows a live analysis of the card, polling its snapshot on a timer;
// closing the window stops that analysis. Deletes itself when closed.
class CAnalysisWnd final : public QMdiSubWindow {
    Q_OBJECT

  public:
    static constexpr int live_poll_ms = 1000;

    explicit CAnalysisWnd(const QString& title, QWidget* parent = nullptr);
    ~CAnalysisWnd() override;

    // Shows the report (and a card's delivery faults), replacing what was shown.
    void show_report(const analysis::analysis_report& report, const std::optional<delivery_faults>& faults);
    // Starts the live analysis and shows its snapshots until it ends or the window closes.
    void follow(std::unique_ptr<streaming::card_analysis> live);
    // True while the live analysis it follows runs: the card is taken.
    bool analysing() const;

    QLabel& summary() { return *summary_; }
    QTableWidget& pid_table() { return *pids_; }
    QTableWidget& error_table() { return *errors_; }
    QComboBox& indicator_filter() { return *indicator_filter_; }
    QComboBox& pid_filter() { return *pid_filter_; }
    bitrate_chart& chart() { return *chart_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QWidget* build_error_page();
    void poll();
    void fill_filters();
    void fill_errors();

    analysis::analysis_report report_;
    std::unique_ptr<streaming::card_analysis> live_;
    QTimer* poll_timer_;
    QLabel* summary_;
    QTableWidget* pids_;
    QTableWidget* errors_;
    QComboBox* indicator_filter_;
    QComboBox* pid_filter_;
    bitrate_chart* chart_;
};

}  // namespace kestrel::app
