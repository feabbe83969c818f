#include "views/tree_text.h"

namespace kestrel::views {

namespace {

void write(std::string& out, table_tree& tree, const tree_node& node, std::size_t depth, bool values) {
    out.append(2 * depth, ' ').append(node.text) += '\n';
    if (values)
        for (const value_row& row : tree.rows(node))
            out.append(2 * (depth + 1), ' ').append("| ").append(row_text(row.name, row.value)) += '\n';
    for (const auto& child : node.children)
        write(out, tree, *child, depth + 1, values);
}

}  // namespace

std::string tree_text(table_tree& tree, bool values) {
    return tree_text(tree, tree.root(), values);
}

std::string tree_text(table_tree& tree, const tree_node& from, bool values) {
    std::string out;
    write(out, tree, from, 0, values);
    return out;
}

std::string row_text(std::string_view name, std::string_view value) {
    std::string out(name);
    out += " =";
    if (!value.empty()) out.append(" ").append(value);
    return out;
}

}  // namespace kestrel::views
