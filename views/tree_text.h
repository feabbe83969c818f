#pragma once

#include <string>
#include <string_view>

#include "views/table_tree.h"

namespace kestrel::views {

// The tree as text, one node a line, indented two blanks per level. With `values`, each
// record node is followed by its rows, "| NAME = VALUE" ("| NAME =" for an empty value),
// one level deeper than the node so that they never read as its children.
std::string tree_text(table_tree& tree, bool values);
// The same for the subtree of `from`, its indentation starting at `from`.
std::string tree_text(table_tree& tree, const tree_node& from, bool values);

// One value row as text: "NAME = VALUE", or "NAME =" for an empty value.
std::string row_text(std::string_view name, std::string_view value);

}  // namespace kestrel::views
