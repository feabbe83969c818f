#include "app/guide_grid.h"

#include <QMouseEvent>
#include <QPainter>

#include "epg/si_time.h"

namespace kestrel::app {

namespace {

const QColor block_fill(0xDD, 0xE8, 0xF6), match_fill(0xFF, 0xE8, 0x6E), selected_fill(0x2F, 0x5D, 0x9E),
    overlap_edge(0xD0, 0x40, 0x20), now_line(0xE0, 0x20, 0x20), grid_line(0xC8, 0xC8, 0xC8);

}  // namespace

guide_grid::guide_grid(const epg::guide& guide, QWidget* parent) : QWidget(parent), guide_(guide) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void guide_grid::show_day(std::int64_t day) {
    grid_ = epg::layout_day(guide_, day);
    selected_.reset();
    set_search(QString::fromStdString(search_));
    updateGeometry();
    resize(sizeHint());
    update();
}

int guide_grid::set_search(const QString& text) {
    search_ = text.trimmed().toStdString();
    matched_.assign(grid_.blocks.size(), false);
    int count = 0;
    for (std::size_t i = 0; i < grid_.blocks.size(); ++i) {
        const epg::grid_block& b = grid_.blocks[i];
        matched_[i] = epg::matches(guide_.services[b.service].events[b.event], search_);
        count += matched_[i] ? 1 : 0;
    }
    update();
    return count;
}

void guide_grid::select(std::optional<std::size_t> block) {
    selected_ = block;
    update();
    if (!block) return emit event_selected(nullptr);
    const epg::grid_block& b = grid_.blocks[*block];
    emit event_selected(&guide_.services[b.service].events[b.event]);
}

QSize guide_grid::sizeHint() const {
    return {x_of(epg::day_minutes) + 1,
            hours_height + static_cast<int>(guide_.services.size()) * row_height + 1};
}

QRect guide_grid::block_rect(const epg::grid_block& block) const {
    const int left = x_of(block.start_minute);
    // An event without a length, or a very short one, still shows as a sliver.
    const int width = std::max(x_of(block.end_minute) - left, 4);
    return {left, hours_height + static_cast<int>(block.service) * row_height + 2, width, row_height - 4};
}

void guide_grid::paint_blocks(QPainter& painter) const {
    for (std::size_t i = 0; i < grid_.blocks.size(); ++i) {
        const epg::grid_block& b = grid_.blocks[i];
        const QRect r = block_rect(b);
        const bool chosen = selected_ == i;
        painter.setPen(b.overlaps ? QPen(overlap_edge, 2) : QPen(grid_line.darker(130)));
        painter.setBrush(chosen ? selected_fill : matched_[i] ? match_fill : block_fill);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        painter.setPen(chosen ? Qt::white : palette().color(QPalette::Text));
        const QString title = QString::fromStdString(guide_.services[b.service].events[b.event].title);
        const QRect text = r.adjusted(4, 0, -3, 0);
        painter.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                         painter.fontMetrics().elidedText(title, Qt::ElideRight, text.width()));
    }
}

// The hour labels along the top and the service names along the left of what is visible.
void guide_grid::paint_edges(QPainter& painter, const QRect& visible) const {
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::Button));
    painter.drawRect(visible.left(), visible.top(), visible.width(), hours_height);
    painter.setPen(palette().color(QPalette::ButtonText));
    for (int hour = 0; hour < 24; ++hour)
        painter.drawText(QRect(x_of(hour * 60) + 3, visible.top(), 60, hours_height), Qt::AlignVCenter,
                         QStringLiteral("%1:00").arg(hour, 2, 10, QLatin1Char('0')));
    for (std::size_t s = 0; s < guide_.services.size(); ++s) {
        const QRect name(visible.left(), hours_height + static_cast<int>(s) * row_height, names_width,
                         row_height);
        painter.fillRect(name, palette().color(QPalette::Button));
        painter.setPen(grid_line);
        painter.drawLine(name.bottomLeft(), name.bottomRight());
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.drawText(name.adjusted(6, 0, -4, 0), Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(QString::fromStdString(guide_.services[s].name),
                                                          Qt::ElideRight, names_width - 10));
    }
    painter.fillRect(QRect(visible.topLeft(), QSize(names_width, hours_height)),
                     palette().color(QPalette::Button));
    painter.drawText(QRect(visible.left() + 6, visible.top(), names_width, hours_height), Qt::AlignVCenter,
                     QString::fromStdString(epg::day_text(grid_.day)));
}

void guide_grid::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect visible = visibleRegion().boundingRect();
    painter.setPen(grid_line);
    for (int hour = 0; hour <= 24; ++hour)
        painter.drawLine(x_of(hour * 60), hours_height, x_of(hour * 60), height());
    for (std::size_t s = 0; s <= guide_.services.size(); ++s) {
        const int y = hours_height + static_cast<int>(s) * row_height;
        painter.drawLine(names_width, y, width(), y);
    }
    paint_blocks(painter);
    if (grid_.now_minute) {
        painter.setPen(QPen(now_line, 2));
        painter.drawLine(x_of(*grid_.now_minute), hours_height, x_of(*grid_.now_minute), height());
    }
    paint_edges(painter, visible);
}

void guide_grid::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    for (std::size_t i = 0; i < grid_.blocks.size(); ++i)
        if (block_rect(grid_.blocks[i]).contains(at)) return select(i);
    select(std::nullopt);
}

}  // namespace kestrel::app
