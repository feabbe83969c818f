#include "app/table_tree_pane.h"

#include <QContextMenuEvent>
#include <vector>

#include "app/context_menu.h"
#include "app/table_tree_model.h"
#include "app/tree_commands.h"
#include "log/trace_log.h"

namespace kestrel::app {

table_tree_pane::table_tree_pane(command_host& host, QWidget* parent) : QTreeView(parent), host_(host) {}

void table_tree_pane::setModel(QAbstractItemModel* model) {
    clicked_ = nullptr;
    QTreeView::setModel(model);
}

void table_tree_pane::contextMenuEvent(QContextMenuEvent* event) {
    global_trace().log(0, ">>CTransponderTableListPaneWnd::OnItemRightClick()");
    const QModelIndex index = indexAt(event->pos());
    const auto* tree_model = qobject_cast<const table_tree_model*>(model());
    clicked_ = tree_model ? tree_model->node(index) : nullptr;
    if (clicked_ == nullptr) return;
    const views::tree_node* node = clicked_;
    global_trace().log(2, "selected=%#lx", reinterpret_cast<unsigned long>(node));
    setCurrentIndex(index);  // fills the value pane
    if (node->kind == views::item_kind::none) return;
    global_trace().log(2, "pBase=%#lx", reinterpret_cast<unsigned long>(node));
    const auto commands = views::menu_items(node->menu);
    if (commands.empty()) return;
    global_trace().log(2, "context menu");
    const QPoint global = event->globalPos();
    global_trace().log(4, "client x=%d,y=%d", global.x(), global.y());
    const card_state card = read_card_state(host_.device(), host_.analysing());
    std::vector<context_item> items;
    for (const views::menu_item& command : commands)
        items.push_back({QString::fromLatin1(command.text),
                         is_enabled(tree_command_needs(command.command), card, {.open = true})});
    const int chosen = choose_from_menu(items, global, this);
    if (chosen >= 0)
        run_tree_command(commands[static_cast<std::size_t>(chosen)].command, clicked_, host_, window());
}

}  // namespace kestrel::app
