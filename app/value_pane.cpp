#include "app/value_pane.h"

#include <QContextMenuEvent>
#include <QHeaderView>

#include "app/command_table.h"
#include "app/context_menu.h"
#include "log/trace_log.h"
#include "views/tree_text.h"

namespace kestrel::app {

value_pane::value_pane(command_host& host, QWidget* parent) : QTreeWidget(parent), host_(host) {
    setColumnCount(2);
    setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Data")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Wide enough for the longest field names; the user's width is kept with the window.
    header()->resizeSection(
        0, fontMetrics().horizontalAdvance(QStringLiteral("TRANSPORT_STREAM_LOOP_LENGTH__")));
    connect(this, &QTreeWidget::itemSelectionChanged, this,
            [] { global_trace().log(0, "CTransponderValuePaneWnd::OnSelChanged()"); });
}

void value_pane::show_rows(const std::vector<views::value_row>& rows) {
    clear_rows();
    for (const views::value_row& row : rows) {
        new QTreeWidgetItem(this,
                            {QString::fromUtf8(row.name.data(), static_cast<qsizetype>(row.name.size())),
                             QString::fromStdString(row.value)});
        objects_.push_back({row.kind, row.pid});
    }
}

void value_pane::clear_rows() {
    clear();
    objects_.clear();
}

std::string value_pane::selected_text() const {
    std::string text;
    for (int row = 0; row < topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = topLevelItem(row);
        if (item->isSelected())
            text.append(views::row_text(item->text(0).toStdString(), item->text(1).toStdString())) += '\n';
    }
    return text;
}

const value_pane::row_object* value_pane::object_of(QTreeWidgetItem* item) const {
    const int row = indexOfTopLevelItem(item);
    if (row < 0 || static_cast<std::size_t>(row) >= objects_.size()) return nullptr;
    const row_object& object = objects_[static_cast<std::size_t>(row)];
    return object.kind == views::row_kind::plain ? nullptr : &object;
}

// The row under the cursor, not the one selected before the click: it becomes the
// selected row, which the command then reads.
void value_pane::contextMenuEvent(QContextMenuEvent* event) {
    global_trace().log(0, ">>CTransponderValuePaneWnd::OnItemRightClick()");
    global_trace().log(4, "x=%d,y=%d", event->pos().x(), event->pos().y());
    QTreeWidgetItem* item = itemAt(event->pos());
    if (item == nullptr) return;
    setCurrentItem(item);
    const row_object* object = object_of(item);
    if (object == nullptr) return;
    global_trace().log(2, "pBase=%#lx", reinterpret_cast<unsigned long>(object));
    if (object->kind != views::row_kind::pid) return;
    global_trace().log(2, "context menu");
    const QPoint global = event->globalPos();
    global_trace().log(4, "client x=%d,y=%d", global.x(), global.y());
    const context_item items[] = {
        {QStringLiteral("PID streaming..."),
         is_enabled(needs::card_locked, read_card_state(host_.device(), host_.analysing()), {.open = true})}};
    if (choose_from_menu(items, global, this) == 0) pid_streaming();
}

void value_pane::pid_streaming() {
    global_trace().log(0, "CTransponderValuePaneWnd::OnPIDStreaming()");
    // The first row in selected state: with several selected, the topmost.
    QTreeWidgetItem* first = nullptr;
    for (int row = 0; row < topLevelItemCount() && first == nullptr; ++row)
        if (topLevelItem(row)->isSelected()) first = topLevelItem(row);
    const row_object* object = first == nullptr ? nullptr : object_of(first);
    if (object == nullptr || object->kind != views::row_kind::pid) return;
    views::pid_list pids;
    pids.fill(views::null_pid);
    pids.front() = object->pid;
    global_trace().log(0, "calling CPIDStreamingDlg::DoModal()");
    host_.record_pids(pids, window());
    global_trace().log(0, "called CPIDStreamingDlg::DoModal()");
}

}  // namespace kestrel::app
