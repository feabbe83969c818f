#include "app/transponder_wnd.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHeaderView>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>

#include "app/search_bar.h"
#include "app/table_tree_model.h"
#include "app/window_geometry.h"
#include "log/trace_log.h"
#include "views/node_json.h"
#include "views/scan_json.h"
#include "views/section_bytes.h"
#include "views/tree_search.h"
#include "views/tree_text.h"

namespace kestrel::app {

namespace {

constexpr std::string_view splitter_key = "transponder";
constexpr std::string_view columns_key = "transponder_columns";
constexpr std::string_view right_splitter_key = "transponder_bytes";
constexpr std::string_view bytes_pane_key = "bytes_pane";
// With no stored layout the tree takes two fifths of the width, enough for every label of
// a transponder's first levels.
constexpr int tree_share = 2, values_share = 3;
// The value rows above take three fifths of the height, the bytes below the rest.
constexpr int rows_share = 3, bytes_share = 2;

void to_clipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

}  // namespace

CTransponderWnd::CTransponderWnd(command_host& host, QWidget* parent)
    : QMdiSubWindow(parent),
      host_(host),
      search_(new search_bar),
      splitter_(new QSplitter(Qt::Horizontal)),
      tree_(new table_tree_pane(host, splitter_)),
      right_(new QSplitter(Qt::Vertical, splitter_)),
      values_(new app::value_pane(host, right_)),
      bytes_(new app::bytes_pane(right_)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Transponder"));
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    // The column as wide as its expanded rows, so deep nodes scroll into reach sideways.
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    splitter_->setChildrenCollapsible(false);
    splitter_->setSizes({tree_share * 100, values_share * 100});
    splitter_->restoreState(read_window_state(host_.settings(), splitter_key));
    right_->setChildrenCollapsible(false);
    right_->setSizes({rows_share * 100, bytes_share * 100});
    right_->restoreState(read_window_state(host_.settings(), right_splitter_key));
    bytes_->setVisible(bytes_pane_wanted(host_.settings()));
    values_->header()->restoreState(read_window_state(host_.settings(), columns_key));

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(search_);
    layout->addWidget(splitter_, 1);
    search_->hide();
    setWidget(content);

    create_keys();
    connect(search_, &search_bar::query_changed, this, &CTransponderWnd::run_search);
    connect(search_, &search_bar::next, this, [this] { find_next(false); });
    connect(search_, &search_bar::previous, this, [this] { find_next(true); });
    connect(search_, &search_bar::closed, this, &CTransponderWnd::close_search);
    connect(values_, &QTreeWidget::itemSelectionChanged, this, &CTransponderWnd::selection_changed);
    connect(values_, &QTreeWidget::currentItemChanged, this, &CTransponderWnd::show_row_bytes);
    connect(bytes_, &bytes_pane::byte_clicked, this, &CTransponderWnd::select_byte);
}

// The panes go after this part of the window, and may still signal as they go.
CTransponderWnd::~CTransponderWnd() {
    disconnect(this, nullptr, nullptr, nullptr);
    values_->disconnect(this);
    bytes_->disconnect(this);
    if (tree_->selectionModel() != nullptr) tree_->selectionModel()->disconnect(this);
}

// Ctrl+F, F3 and Shift+F3 wherever the focus is in this window.
void CTransponderWnd::create_keys() {
    const auto add_key = [this](const QKeySequence& key, auto slot) {
        auto* action = new QAction(this);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    add_key(QKeySequence(Qt::CTRL | Qt::Key_F), [this] { open_search(); });
    add_key(QKeySequence(Qt::Key_F3), [this] { find_next(false); });
    add_key(QKeySequence(Qt::SHIFT | Qt::Key_F3), [this] { find_next(true); });
}

void CTransponderWnd::SetTable(ScanContext&, AllNetworks& networks) {
    global_trace().log(2, "CTransponderWnd::SetTable(ScanContext&,AllNetworks&)");
    ClearView();
    views::tree_options options;
    options.value_pane = values_;
    model_ = new table_tree_model(std::make_unique<views::table_tree>(networks, options), this);
    finder_ = std::make_unique<views::tree_search>(model_->tree());
    tree_->setModel(model_);
    connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (const views::tree_node* node = model_->node(current)) show_node(*node);
                show_match_count();
                emit selection_changed();
            });
    tree_->expand(model_->index(0, 0));
    run_search(search_->query());
}

// The tree goes before the networks it points into may change.
void CTransponderWnd::ClearView() {
    global_trace().log(2, "CTransponderWnd::ClearView()");
    finder_.reset();
    tree_->setModel(nullptr);
    bytes_->show_bytes({});
    delete model_;
    model_ = nullptr;
    show_match_count();
    emit selection_changed();
}

void CTransponderWnd::show_node(const views::tree_node& node) {
    switch (node.kind) {
        case views::item_kind::none:
            return;
        case views::item_kind::record:
            bytes_->show_bytes(views::bytes_of(node));
            values_->show_rows(model_->tree().rows(node));
            return;
        default:
            bytes_->show_bytes({});
            values_->clear_rows();
    }
}

void CTransponderWnd::show_row_bytes() {
    const int row =
        values_->currentItem() != nullptr ? values_->indexOfTopLevelItem(values_->currentItem()) : -1;
    bytes_->highlight_row(row >= 0 ? std::optional<std::size_t>(static_cast<std::size_t>(row))
                                   : std::nullopt);
}

void CTransponderWnd::select_byte(std::size_t byte) {
    const views::tree_node* node = selected_node();
    if (node == nullptr) return;
    const views::byte_owner owner = views::owner_of_byte(*node, byte);
    if (owner.node == nullptr) return;
    if (owner.node != node) select(*owner.node);
    values_->setCurrentItem(owner.row ? values_->topLevelItem(static_cast<int>(*owner.row)) : nullptr);
}

void CTransponderWnd::focus_next_pane(bool backward) {
    std::vector<QWidget*> panes = {tree_, values_};
    if (bytes_->isVisible()) panes.push_back(&bytes_->text_view());
    const auto focused =
        std::find_if(panes.begin(), panes.end(), [](QWidget* pane) { return pane->hasFocus(); });
    const std::size_t at = focused == panes.end() ? 0 : static_cast<std::size_t>(focused - panes.begin());
    const std::size_t next = backward ? (at + panes.size() - 1) % panes.size() : (at + 1) % panes.size();
    panes[next]->setFocus(Qt::ShortcutFocusReason);
}

bool CTransponderWnd::bytes_pane_wanted(settings_store& settings) {
    return settings.read_int("window", bytes_pane_key, 1) != 0;
}

void CTransponderWnd::keep_bytes_pane_choice(settings_store& settings, bool shown) {
    settings.write_int("window", bytes_pane_key, shown ? 1 : 0);
}

void CTransponderWnd::show_bytes_pane(bool shown) {
    bytes_->setVisible(shown);
}

bool CTransponderWnd::bytes_pane_shown() const {
    return !bytes_->isHidden();
}

const views::tree_node* CTransponderWnd::selected_node() const {
    return model_ ? model_->node(tree_->currentIndex()) : nullptr;
}

void CTransponderWnd::open_search() {
    search_->open();
}

void CTransponderWnd::run_search(const QString& query) {
    if (finder_) finder_->find(query.toStdString());
    show_match_count();
}

void CTransponderWnd::find_next(bool backward) {
    if (search_->query().isEmpty()) {
        open_search();
        return;
    }
    if (!finder_) return;
    if (const views::tree_node* match = finder_->step(selected_node(), backward)) select(*match);
}

void CTransponderWnd::close_search() {
    search_->hide();
    tree_->setFocus(Qt::ShortcutFocusReason);
}

void CTransponderWnd::show_match_count() {
    if (!finder_ || search_->query().isEmpty()) {
        search_->show_count({});
        return;
    }
    const std::size_t count = finder_->matches().size();
    const views::tree_node* node = selected_node();
    const std::optional<std::size_t> at = node ? finder_->position(*node) : std::nullopt;
    if (count == 0)
        search_->show_count(QStringLiteral("No matches"));
    else if (at)
        search_->show_count(QStringLiteral("%1 of %2").arg(*at + 1).arg(count));
    else
        search_->show_count(count == 1 ? QStringLiteral("1 match") : QStringLiteral("%1 matches").arg(count));
}

// The node selected with its parents expanded and in view; the value pane shows it.
void CTransponderWnd::select(const views::tree_node& node) {
    const QModelIndex index = model_->index_of(node);
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        tree_->expand(parent);
    tree_->setCurrentIndex(index);
    tree_->scrollTo(index);
}

bool CTransponderWnd::tree_has_focus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr && (focus == tree_ || search_->isAncestorOf(focus));
}

bool CTransponderWnd::can_copy() const {
    if (values_->hasFocus()) return values_->has_selection();
    if (bytes_->text_view().hasFocus()) return bytes_->has_selection();
    return tree_has_focus() && selected_node() != nullptr;
}

void CTransponderWnd::copy() {
    if (!can_copy()) return;
    if (values_->hasFocus())
        to_clipboard(values_->selected_text());
    else if (bytes_->text_view().hasFocus())
        to_clipboard(bytes_->selected_hex());
    else
        to_clipboard(views::tree_text(model_->tree(), *selected_node(), true));
}

bool CTransponderWnd::can_copy_json() const {
    return selected_node() != nullptr;
}

void CTransponderWnd::copy_json() {
    if (const views::tree_node* node = selected_node())
        to_clipboard(views::json_text(views::node_json(model_->tree(), *node)) + '\n');
}

void CTransponderWnd::closeEvent(QCloseEvent* event) {
    write_window_state(host_.settings(), splitter_key, splitter_->saveState());
    write_window_state(host_.settings(), columns_key, values_->header()->saveState());
    write_window_state(host_.settings(), right_splitter_key, right_->saveState());
    QMdiSubWindow::closeEvent(event);
}

}  // namespace kestrel::app
