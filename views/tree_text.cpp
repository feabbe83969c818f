#include "views/tree_text.h"

namespace kestrel::views {

namespace {

void write(std::string& out, table_tree& tree, const tree_node& node, std::size_t depth, bool values) {
    out.append(2 * depth, ' ').append(node.text) += '\n';
    if (values)
        for (const value_row& row : tree.rows(node)) {
            out.append(2 * (depth + 1), ' ').append("| ").append(row.name).append(" =");
            if (!row.value.empty()) out.append(" ").append(row.value);
            out += '\n';
        }
    for (const auto& child : node.children)
        write(out, tree, *child, depth + 1, values);
}

}  // namespace

std::string tree_text(table_tree& tree, bool values) {
    std::string out;
    write(out, tree, tree.root(), 0, values);
    return out;
}

}  // namespace kestrel::views
