#include "app/bitrate_chart.h"

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>

namespace kestrel::app {

namespace {

QList<QPointF> points(const std::vector<double>& time_s, const std::vector<double>& bps) {
    QList<QPointF> line;
    line.reserve(static_cast<qsizetype>(time_s.size()));
    for (std::size_t i = 0; i < time_s.size(); ++i)
        line.append({time_s[i], bps[i] / 1e6});
    return line;
}

}  // namespace

bitrate_chart::bitrate_chart(QWidget* parent)
    : QChartView(parent), time_axis_(new QValueAxis(this)), rate_axis_(new QValueAxis(this)) {
    QChart* plot = chart();
    plot->setTitle(QStringLiteral("Bit rate per PID"));
    plot->legend()->setAlignment(Qt::AlignRight);
    time_axis_->setTitleText(QStringLiteral("Time (s)"));
    time_axis_->setLabelFormat(QStringLiteral("%g"));
    rate_axis_->setTitleText(QStringLiteral("Mbit/s"));
    rate_axis_->setLabelFormat(QStringLiteral("%.1f"));
    plot->addAxis(time_axis_, Qt::AlignBottom);
    plot->addAxis(rate_axis_, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing);
}

void bitrate_chart::show_plot(const views::bitrate_plot& plot) {
    QChart* drawn = chart();
    drawn->removeAllSeries();
    for (const views::plot_series& s : plot.series) {
        auto* area = new QAreaSeries();
        auto* upper = new QLineSeries(area);
        auto* lower = new QLineSeries(area);
        upper->replace(points(plot.time_s, s.upper_bps));
        lower->replace(points(plot.time_s, s.lower_bps));
        area->setUpperSeries(upper);
        area->setLowerSeries(lower);
        area->setName(QString::fromStdString(s.name));
        drawn->addSeries(area);
        area->attachAxis(time_axis_);
        area->attachAxis(rate_axis_);
    }
    time_axis_->setRange(0, plot.time_s.empty() ? 1.0 : std::max(1.0, plot.time_s.back()));
    rate_axis_->setRange(0, std::max(0.1, plot.top_bps / 1e6 * 1.05));
}

}  // namespace kestrel::app
