#pragma once

#include <QMdiSubWindow>
#include <memory>

#include "app/bytes_pane.h"
#include "app/command_host.h"
#include "app/table_tree_pane.h"
#include "app/value_pane.h"
#include "model/scan_result.h"

namespace kestrel::views {
struct tree_node;
class tree_search;
}  // namespace kestrel::views

class QSplitter;

namespace kestrel::app {

class search_bar;
class table_tree_model;

// The document window that shows a scan result: the table tree on the left, the selected
// node's fields ("Name", "Data") on the right with the bytes of its section under them, a
// search bar above them on Ctrl+F. Deletes itself when closed; the splitters' positions
// and the value columns' widths are kept in the settings, and whether the bytes pane shows.
class CTransponderWnd : public QMdiSubWindow {
    Q_OBJECT

  public:
    explicit CTransponderWnd(command_host& host, QWidget* parent = nullptr);
    ~CTransponderWnd() override;

    // Shows the scan result; the networks must not change while the window shows them.
    void SetTable(ScanContext& context, AllNetworks& networks);
    // Drops the tree (the value pane keeps its rows). Called before anything changes the
    // networks the tree shows.
    void ClearView();

    // F6 and Shift+F6: the focus to the next (previous) of the tree, the value pane and the
    // bytes pane while it shows, round from the last to the first.
    void focus_next_pane(bool backward = false);

    // View > Bytes pane: shows or hides the bytes pane.
    void show_bytes_pane(bool shown);
    bool bytes_pane_shown() const;
    // The choice of View > Bytes pane kept in the settings for the windows that open later
    // (shown when none is kept).
    static bool bytes_pane_wanted(settings_store& settings);
    static void keep_bytes_pane_choice(settings_store& settings, bool shown);

    // Ctrl+F: the search bar shown, the focus in its query.
    void open_search();
    // Enter or F3 (Shift+Enter or Shift+F3 `backward`): the next match after the selected
    // node selected, its parents expanded; round from the last to the first.
    void find_next(bool backward = false);
    // Escape: the bar hidden, the match left selected, the focus in the tree.
    void close_search();
    search_bar& search() { return *search_; }

    // Edit > Copy: the focused pane's selection to the clipboard: the tree's node and its
    // subtree as `kestrel-cli scan --tree --values` writes them, the value pane's rows as
    // "NAME = VALUE" lines, the bytes pane's bytes as hex. The search bar counts as the tree's.
    bool can_copy() const;
    void copy();
    // Edit > Copy as JSON: the tree's node as `kestrel-cli scan --json` writes that part.
    bool can_copy_json() const;
    void copy_json();

    table_tree_pane& tree_pane() { return *tree_; }
    app::value_pane& value_pane() { return *values_; }
    app::bytes_pane& bytes_pane() { return *bytes_; }
    // The model of the tree shown; null while the tree is empty.
    table_tree_model* tree_model() { return model_; }

  signals:
    // The selection of a pane changed: what Copy can do may have changed.
    void selection_changed();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void create_keys();
    // What selecting a node does to the value pane, by the node's kind.
    void show_node(const views::tree_node& node);
    const views::tree_node* selected_node() const;
    void run_search(const QString& query);
    void show_match_count();
    void select(const views::tree_node& node);
    bool tree_has_focus() const;
    // A click on a byte: the node and the row that own it selected.
    void select_byte(std::size_t byte);
    void show_row_bytes();

    command_host& host_;
    search_bar* search_;
    QSplitter* splitter_;
    table_tree_pane* tree_;
    QSplitter* right_;  // the value pane over the bytes pane
    app::value_pane* values_;
    app::bytes_pane* bytes_;
    table_tree_model* model_ = nullptr;
    std::unique_ptr<views::tree_search> finder_;  // over model_'s tree
};

}  // namespace kestrel::app
