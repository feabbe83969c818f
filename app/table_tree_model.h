#pragma once

#include <QAbstractItemModel>
#include <memory>

#include "views/table_tree.h"

namespace kestrel::app {

// The table tree as a Qt item model: one column, the nodes' texts. Qt asks only for the
// rows it shows, so a tree of many thousand events opens at once.
class table_tree_model : public QAbstractItemModel {
    Q_OBJECT

  public:
    explicit table_tree_model(std::unique_ptr<views::table_tree> tree, QObject* parent = nullptr);

    views::table_tree& tree() { return *tree_; }
    // The node of an index; null for the invisible root.
    const views::tree_node* node(const QModelIndex& index) const;
    // The index of a node of this model's tree.
    QModelIndex index_of(const views::tree_node& node) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  private:
    std::unique_ptr<views::table_tree> tree_;
};

}  // namespace kestrel::app
