#pragma once

#include <QWidget>
#include <cstddef>
#include <optional>
#include <vector>

#include "epg/day_grid.h"

namespace kestrel::app {

// The guide's grid for one local day: services as rows (their names in a column that stays
// at the left edge of the view), the hours as columns (their labels along the top edge),
// events as blocks with their titles, a line at the stream's current time. A click selects
// an event; events that match the search are highlighted, overlapping ones outlined. It
// paints the day_grid the guide's layout gives; it computes nothing of its own.
class guide_grid final : public QWidget {
    Q_OBJECT

  public:
    static constexpr int pixels_per_minute = 3;
    static constexpr int row_height = 34;
    static constexpr int names_width = 170;
    static constexpr int hours_height = 24;

    explicit guide_grid(const epg::guide& guide, QWidget* parent = nullptr);

    void show_day(std::int64_t day);
    // Highlights the events whose title or texts contain `text`; the number highlighted.
    int set_search(const QString& text);
    void select(std::optional<std::size_t> block);

    const epg::day_grid& day() const { return grid_; }
    std::optional<std::size_t> selected() const { return selected_; }
    bool highlighted(std::size_t block) const { return matched_[block]; }
    // Where a block's event starts on the grid, in the widget's pixels.
    int x_of(int minute) const { return names_width + minute * pixels_per_minute; }

    QSize sizeHint() const override;

  signals:
    void event_selected(const epg::guide_event* event);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QRect block_rect(const epg::grid_block& block) const;
    void paint_blocks(QPainter& painter) const;
    void paint_edges(QPainter& painter, const QRect& visible) const;

    const epg::guide& guide_;
    epg::day_grid grid_;
    std::vector<bool> matched_;
    std::string search_;
    std::optional<std::size_t> selected_;
};

}  // namespace kestrel::app
