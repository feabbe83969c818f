#include "app/guide_wnd.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/guide_grid.h"
#include "app/message_box.h"
#include "epg/day_grid.h"
#include "epg/si_time.h"
#include "epg/xmltv_writer.h"
#include "startup/build_info.h"

namespace kestrel::app {

CGuideWnd::CGuideWnd(epg::guide guide, file_chooser& files, QWidget* parent)
    : QMdiSubWindow(parent),
      guide_(std::move(guide)),
      files_(files),
      days_(new QComboBox),
      search_(new QLineEdit),
      matches_(new QLabel),
      export_(new QPushButton(QStringLiteral("Export XMLTV..."))),
      grid_(new guide_grid(guide_)),
      scroller_(new QScrollArea),
      details_(new QTextBrowser) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Programme guide"));
    scroller_->setWidget(grid_);
    scroller_->setBackgroundRole(QPalette::Base);
    // Wide enough that the details' values wrap between words, not inside them.
    details_->setMinimumWidth(details_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(scroller_);
    splitter->addWidget(details_);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->addWidget(build_bar());
    layout->addWidget(splitter, 1);
    setWidget(body);

    connect(grid_, &guide_grid::event_selected, this, &CGuideWnd::show_details);
    for (const std::int64_t day : epg::local_days(guide_))
        days_->addItem(QString::fromStdString(epg::day_text(day)), QVariant::fromValue<qlonglong>(day));
    connect(days_, &QComboBox::currentIndexChanged, this, &CGuideWnd::show_day);
    const std::optional<std::int64_t> first = epg::first_day(guide_);
    const int index = first ? days_->findData(QVariant::fromValue<qlonglong>(*first)) : -1;
    days_->setCurrentIndex(index);
    show_day(index);
}

QWidget* CGuideWnd::build_bar() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("Day:")));
    row->addWidget(days_);
    row->addSpacing(12);
    row->addWidget(new QLabel(QStringLiteral("Search:")));
    search_->setClearButtonEnabled(true);
    search_->setMinimumWidth(search_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24);
    row->addWidget(search_);
    row->addWidget(matches_);
    row->addStretch(1);
    row->addWidget(
        new QLabel(QStringLiteral("Local time: %1").arg(QString::fromStdString(guide_.local.describe()))));
    row->addSpacing(12);
    row->addWidget(export_);
    connect(search_, &QLineEdit::textChanged, this, &CGuideWnd::find);
    connect(export_, &QPushButton::clicked, this, &CGuideWnd::export_xmltv);
    return bar;
}

void CGuideWnd::show_day(int index) {
    if (index < 0) return;
    grid_->show_day(days_->itemData(index).toLongLong());
    find(search_->text());
    show_details(nullptr);
    // The view starts at the stream's current time, else at the day's first event.
    const epg::day_grid& day = grid_->day();
    int minute = day.now_minute.value_or(epg::day_minutes);
    for (const epg::grid_block& b : day.blocks)
        if (!day.now_minute) minute = std::min(minute, b.start_minute);
    scroller_->horizontalScrollBar()->setValue(
        std::max(0, grid_->x_of(minute) - guide_grid::names_width - 60));
}

void CGuideWnd::find(const QString& text) {
    const int found = grid_->set_search(text);
    matches_->setText(text.trimmed().isEmpty() ? QString() : QStringLiteral("%1 found").arg(found));
}

void CGuideWnd::show_details(const epg::guide_event* event) {
    if (event == nullptr) {
        details_->setHtml(QStringLiteral("<p>Choose an event to see its details.</p>"));
        return;
    }
    QString html = QStringLiteral("<table cellspacing=\"4\">");
    for (const auto& [name, value] : epg::event_details(guide_, *event))
        html += QStringLiteral("<tr><td valign=\"top\" nowrap><b>%1</b></td><td>%2</td></tr>")
                    .arg(QString::fromStdString(name).toHtmlEscaped(),
                         QString::fromStdString(value).toHtmlEscaped().replace(QLatin1Char('\n'), "<br>"));
    details_->setHtml(html + QStringLiteral("</table>"));
}

void CGuideWnd::export_xmltv() {
    const QString path = files_.save_file(
        {QStringLiteral("guide.xml"), QStringLiteral("xml"), {QStringLiteral("XMLTV files (*.xml)")}}, this);
    if (path.isEmpty()) return;
    std::size_t programmes = 0;
    const std::string error = epg::write_xmltv_file(
        path.toStdString(), guide_, std::string("kestrel/") + startup::version_text(), programmes);
    if (!error.empty()) return show_message(this, QString::fromStdString(error));
    show_message(this, QStringLiteral("%1 programmes were written to %2").arg(programmes).arg(path),
                 QMessageBox::Information);
}

}  // namespace kestrel::app
