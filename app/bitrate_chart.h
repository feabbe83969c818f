#pragma once

#include <QChartView>

#include "views/analysis_view.h"

class QValueAxis;

namespace kestrel::app {

// The analysis window's plot: the bit rate of each series over time, stacked, each an area
// between its pair of lines. It draws the views' plot as it is and computes nothing.
class bitrate_chart final : public QChartView {
    Q_OBJECT

  public:
    explicit bitrate_chart(QWidget* parent = nullptr);

    // Replaces what is drawn.
    void show_plot(const views::bitrate_plot& plot);

  private:
    QValueAxis* time_axis_;
    QValueAxis* rate_axis_;
};

}  // namespace kestrel::app
