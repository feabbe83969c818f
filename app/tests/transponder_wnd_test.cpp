#include <gtest/gtest.h>

#include <QTreeView>
#include <QTreeWidget>

#include "app/table_tree_model.h"
#include "app/tests/rig.h"
#include "app/transponder_wnd.h"
#include "tools/encode/tables.h"

namespace kestrel::app {
namespace {

AllNetworks two_networks() {
    AllNetworks networks;
    Transponder tp;
    tp.frequency = 12.322;
    const encode::bytes pat = encode::pat_section({0x00, 1}, {{0, 0x10}, {0x11, 0x100}, {0x12, 0x120}});
    tp.PAT.parse(pat.data(), pat.size());
    add_transponder(networks, 1, 1, tp, 0);
    add_transponder(networks, 1, 2, Transponder{}, 0);
    add_transponder(networks, 0x22, 7, tp, 1);
    return networks;
}

// The model holds the builder's nodes in the builder's order, under the same parents.
void expect_same(const table_tree_model& model, const QModelIndex& index, const views::tree_node& node) {
    ASSERT_EQ(model.node(index), &node);
    EXPECT_EQ(model.data(index).toString().toStdString(), node.text);
    ASSERT_EQ(model.rowCount(index), static_cast<int>(node.children.size())) << node.text;
    for (int row = 0; row < model.rowCount(index); ++row) {
        const QModelIndex child = model.index(row, 0, index);
        EXPECT_EQ(model.parent(child), index);
        expect_same(model, child, *node.children[static_cast<std::size_t>(row)]);
    }
}

TEST(TransponderWindow, TreeModelIsTheBuildersTreeAndSelectionFillsTheValues) {
    memory_store settings;
    testing::test_host host(settings, nullptr);
    AllNetworks networks = two_networks();
    ScanContext context;
    CTransponderWnd window(host);
    window.SetTable(context, networks);
    table_tree_model* model = window.tree_model();
    ASSERT_NE(model, nullptr);
    EXPECT_EQ(model->rowCount(), 1);
    const QModelIndex root = model->index(0, 0);
    expect_same(*model, root, model->tree().root());
    EXPECT_TRUE(window.tree_pane().isExpanded(root));

    // ALL NETWORKS > 0001 > its first transponder > PAT > 0011
    const QModelIndex program =
        model->index(1, 0, model->index(0, 0, model->index(0, 0, model->index(0, 0, root))));
    ASSERT_EQ(model->data(program).toString(), "0011");
    window.tree_pane().setCurrentIndex(program);
    const auto rows = model->tree().rows(*model->node(program));
    ASSERT_EQ(window.value_pane().topLevelItemCount(), static_cast<int>(rows.size()));
    EXPECT_EQ(window.value_pane().topLevelItem(0)->text(1).toStdString(), rows.front().value);

    window.tree_pane().setCurrentIndex(model->index(0, 0, root));  // a network empties the pane
    EXPECT_EQ(window.value_pane().topLevelItemCount(), 0);

    window.ClearView();
    EXPECT_EQ(window.tree_model(), nullptr);
    EXPECT_EQ(window.tree_pane().model(), nullptr);
}

}  // namespace
}  // namespace kestrel::app
