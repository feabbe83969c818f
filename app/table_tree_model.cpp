#include "app/table_tree_model.h"

namespace kestrel::app {

table_tree_model::table_tree_model(std::unique_ptr<views::table_tree> tree, QObject* parent)
    : QAbstractItemModel(parent), tree_(std::move(tree)) {}

const views::tree_node* table_tree_model::node(const QModelIndex& index) const {
    if (!index.isValid()) return nullptr;
    return static_cast<const views::tree_node*>(index.internalPointer());
}

QModelIndex table_tree_model::index_of(const views::tree_node& node) const {
    const int row = node.parent ? static_cast<int>(node.row) : 0;
    return createIndex(row, 0, const_cast<views::tree_node*>(&node));
}

// The invisible root has one child, "ALL NETWORKS".
QModelIndex table_tree_model::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0 || row >= rowCount(parent)) return {};
    const views::tree_node* owner = node(parent);
    const views::tree_node* child =
        owner ? owner->children[static_cast<std::size_t>(row)].get() : &tree_->root();
    return createIndex(row, 0, const_cast<views::tree_node*>(child));
}

QModelIndex table_tree_model::parent(const QModelIndex& child) const {
    const views::tree_node* item = node(child);
    if (item == nullptr || item->parent == nullptr) return {};
    return index_of(*item->parent);
}

int table_tree_model::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    const views::tree_node* owner = node(parent);
    return owner ? static_cast<int>(owner->children.size()) : 1;
}

int table_tree_model::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant table_tree_model::data(const QModelIndex& index, int role) const {
    const views::tree_node* item = node(index);
    if (item == nullptr || role != Qt::DisplayRole) return {};
    return QString::fromStdString(item->text);
}

}  // namespace kestrel::app
