#include "app/transponder_wnd.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QSplitter>

#include "app/table_tree_model.h"
#include "app/window_geometry.h"
#include "log/trace_log.h"

namespace kestrel::app {

namespace {

constexpr std::string_view splitter_key = "transponder";
constexpr int tree_width = 128;

}  // namespace

CTransponderWnd::CTransponderWnd(command_host& host, QWidget* parent)
    : QMdiSubWindow(parent),
      host_(host),
      splitter_(new QSplitter(Qt::Horizontal, this)),
      tree_(new table_tree_pane(host, splitter_)),
      values_(new app::value_pane(host, splitter_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Transponder"));
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    // The column as wide as its expanded rows, so deep nodes scroll into reach sideways.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({tree_width, 4 * tree_width});
    splitter_->restoreState(read_window_state(host_.settings(), splitter_key));
    setWidget(splitter_);
}

void CTransponderWnd::SetTable(ScanContext&, AllNetworks& networks) {
    global_trace().log(2, "CTransponderWnd::SetTable(ScanContext&,AllNetworks&)");
    ClearView();
    views::tree_options options;
    options.value_pane = values_;
    model_ = new table_tree_model(std::make_unique<views::table_tree>(networks, options), this);
    tree_->setModel(model_);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (const views::tree_node* node = model_->node(current)) show_node(*node);
            });
    tree_->expand(model_->index(0, 0));
}

// The tree goes before the networks it points into may change.
void CTransponderWnd::ClearView() {
    global_trace().log(2, "CTransponderWnd::ClearView()");
    tree_->setModel(nullptr);
    delete model_;
    model_ = nullptr;
}

void CTransponderWnd::show_node(const views::tree_node& node) {
    switch (node.kind) {
        case views::item_kind::none:
            return;
        case views::item_kind::record:
            values_->show_rows(model_->tree().rows(node));
            return;
        default:
            values_->clear_rows();
    }
}

void CTransponderWnd::focus_other_pane() {
    (tree_->hasFocus() ? static_cast<QWidget*>(values_) : tree_)->setFocus(Qt::ShortcutFocusReason);
}

void CTransponderWnd::closeEvent(QCloseEvent* event) {
    write_window_state(host_.settings(), splitter_key, splitter_->saveState());
    QMdiSubWindow::closeEvent(event);
}

}  // namespace kestrel::app
