#include "app/analysis_wnd.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include "app/bitrate_chart.h"
#include "views/analysis_view.h"

namespace kestrel::app {

namespace {

// A cell that sorts by its number where it has one, so that 9 comes before 10.
class sorted_item final : public QTableWidgetItem {
  public:
    explicit sorted_item(const views::table_cell& cell)
        : QTableWidgetItem(QString::fromStdString(cell.text)) {
        if (cell.number) setData(Qt::UserRole, *cell.number);
        setFlags(flags() & ~Qt::ItemIsEditable);
    }
    bool operator<(const QTableWidgetItem& other) const override {
        const QVariant mine = data(Qt::UserRole), theirs = other.data(Qt::UserRole);
        if (mine.isValid() && theirs.isValid()) return mine.toDouble() < theirs.toDouble();
        if (mine.isValid() != theirs.isValid()) return theirs.isValid();  // numbers first
        return QTableWidgetItem::operator<(other);
    }
};

QTableWidget* make_table(QWidget* parent) {
    auto* table = new QTableWidget(parent);
    table->setSortingEnabled(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

// Refills the table, keeping the column it is sorted by.
void fill_table(QTableWidget& table, const views::table_rows& rows) {
    table.setSortingEnabled(false);
    table.clear();
    table.setColumnCount(static_cast<int>(rows.headers.size()));
    QStringList headers;
    for (const std::string& h : rows.headers)
        headers << QString::fromStdString(h);
    table.setHorizontalHeaderLabels(headers);
    table.setRowCount(static_cast<int>(rows.rows.size()));
    for (std::size_t r = 0; r < rows.rows.size(); ++r)
        for (std::size_t c = 0; c < rows.rows[r].size(); ++c)
            table.setItem(static_cast<int>(r), static_cast<int>(c), new sorted_item(rows.rows[r][c]));
    table.setSortingEnabled(true);
    table.resizeColumnsToContents();
}

// Refills a filter's choices after "All ...", keeping the one chosen while it is still offered.
void fill_choices(QComboBox& box, const QString& all, const QStringList& choices) {
    const QString chosen = box.currentText();
    box.blockSignals(true);
    box.clear();
    box.addItem(all);
    box.addItems(choices);
    box.setCurrentIndex(std::max(0, static_cast<int>(box.findText(chosen))));
    box.blockSignals(false);
}

}  // namespace

CAnalysisWnd::CAnalysisWnd(const QString& title, QWidget* parent)
    : QMdiSubWindow(parent),
      poll_timer_(new QTimer(this)),
      summary_(new QLabel(this)),
      pids_(make_table(this)),
      errors_(make_table(this)),
      indicator_filter_(new QComboBox(this)),
      pid_filter_(new QComboBox(this)),
      chart_(new bitrate_chart(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title);
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    auto* pages = new QTabWidget(body);
    pages->addTab(pids_, QStringLiteral("PIDs"));
    pages->addTab(build_error_page(), QStringLiteral("Errors"));
    pages->addTab(chart_, QStringLiteral("Bit rate"));
    layout->addWidget(pages, 1);
    setWidget(body);
    connect(poll_timer_, &QTimer::timeout, this, &CAnalysisWnd::poll);
}

CAnalysisWnd::~CAnalysisWnd() = default;

QWidget* CAnalysisWnd::build_error_page() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* bar = new QHBoxLayout();
    bar->addWidget(new QLabel(QStringLiteral("Indicator:"), page));
    bar->addWidget(indicator_filter_);
    bar->addWidget(new QLabel(QStringLiteral("PID:"), page));
    bar->addWidget(pid_filter_);
    bar->addStretch(1);
    layout->addLayout(bar);
    layout->addWidget(errors_, 1);
    for (QComboBox* box : {indicator_filter_, pid_filter_}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
        connect(box, &QComboBox::currentIndexChanged, this, &CAnalysisWnd::fill_errors);
    }
    return page;
}

void CAnalysisWnd::show_report(const analysis::analysis_report& report,
                               const std::optional<delivery_faults>& faults) {
    // Kept errors are only ever added: the list is refilled when there are more of them.
    const bool new_errors = report.errors.size() != report_.errors.size() || errors_->columnCount() == 0;
    report_ = report;
    summary_->setText(QString::fromStdString(views::analysis_summary(report_, faults)));
    fill_table(*pids_, views::pid_table(report_));
    if (new_errors) {
        fill_filters();
        fill_errors();
    }
    chart_->show_plot(views::stacked_bitrates(report_));
}

void CAnalysisWnd::fill_filters() {
    QStringList indicators, pids;
    for (const std::string& label : views::error_indicators(report_))
        indicators << QString::fromStdString(label);
    for (const std::uint16_t pid : views::error_pids(report_))
        pids << QString::asprintf("0x%04X", static_cast<unsigned>(pid));
    fill_choices(*indicator_filter_, QStringLiteral("All indicators"), indicators);
    fill_choices(*pid_filter_, QStringLiteral("All PIDs"), pids);
}

void CAnalysisWnd::fill_errors() {
    views::error_filter filter;
    if (indicator_filter_->currentIndex() > 0)
        filter.indicator = indicator_filter_->currentText().section(QLatin1Char(' '), 0, 0).toStdString();
    if (pid_filter_->currentIndex() > 0)
        filter.pid = static_cast<std::uint16_t>(pid_filter_->currentText().toUInt(nullptr, 0));
    fill_table(*errors_, views::error_table(report_, filter));
}

void CAnalysisWnd::follow(std::unique_ptr<streaming::card_analysis> live) {
    live_ = std::move(live);
    live_->start();
    poll_timer_->start(live_poll_ms);
    poll();
}

bool CAnalysisWnd::analysing() const {
    return live_ && !live_->finished();
}

void CAnalysisWnd::poll() {
    if (!live_) return;
    const bool ended = live_->finished();
    show_report(live_->snapshot(), live_->faults());
    if (!ended) return;
    poll_timer_->stop();
    const std::string& error = live_->outcomes().at(0).error;
    summary_->setText(summary_->text() + QStringLiteral(" | ended") +
                      (error.empty() ? QString() : QStringLiteral(": ") + QString::fromStdString(error)));
}

void CAnalysisWnd::closeEvent(QCloseEvent* event) {
    // The analysis ends with its window: the card is free again once this returns.
    poll_timer_->stop();
    live_.reset();
    QMdiSubWindow::closeEvent(event);
}

}  // namespace kestrel::app
