#pragma once

#include <QMdiSubWindow>

#include "app/command_host.h"
#include "app/table_tree_pane.h"
#include "app/value_pane.h"
#include "model/scan_result.h"

namespace kestrel::views {
struct tree_node;
}

class QSplitter;

namespace kestrel::app {

class table_tree_model;

// The document window that shows a scan result: the table tree on the left, the selected
// node's fields ("Name", "Data") on the right. Deletes itself when closed; the splitter's
// position is kept in the settings.
class CTransponderWnd : public QMdiSubWindow {
    Q_OBJECT

  public:
    explicit CTransponderWnd(command_host& host, QWidget* parent = nullptr);

    // Shows the scan result; the networks must not change while the window shows them.
    void SetTable(ScanContext& context, AllNetworks& networks);
    // Drops the tree (the value pane keeps its rows). Called before anything changes the
    // networks the tree shows.
    void ClearView();

    // F6 and Shift+F6 (next and previous pane; with two panes the same): the focus to the
    // pane that does not have it.
    void focus_other_pane();

    table_tree_pane& tree_pane() { return *tree_; }
    app::value_pane& value_pane() { return *values_; }
    // The model of the tree shown; null while the tree is empty.
    table_tree_model* tree_model() { return model_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // What selecting a node does to the value pane, by the node's kind.
    void show_node(const views::tree_node& node);

    command_host& host_;
    QSplitter* splitter_;
    table_tree_pane* tree_;
    app::value_pane* values_;
    table_tree_model* model_ = nullptr;
};

}  // namespace kestrel::app
