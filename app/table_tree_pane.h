#pragma once

#include <QTreeView>

#include "app/command_host.h"

namespace kestrel::views {
struct tree_node;
}

namespace kestrel::app {

// The table tree of a transponder window. A right click selects the node under the cursor
// and shows its context menu; the command chosen acts on that node.
class table_tree_pane : public QTreeView {
    Q_OBJECT

  public:
    explicit table_tree_pane(command_host& host, QWidget* parent = nullptr);

    // The node the last right click hit; null when it hit none or the tree changed since.
    const views::tree_node* clicked() const { return clicked_; }

    void setModel(QAbstractItemModel* model) override;

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    command_host& host_;
    const views::tree_node* clicked_ = nullptr;
};

}  // namespace kestrel::app
