#pragma once

#include <string>

#include "views/table_tree.h"

namespace kestrel::views {

// The tree as text, one node a line, indented two blanks per level. With `values`, each
// record node is followed by its rows, "| NAME = VALUE" ("| NAME =" for an empty value),
// one level deeper than the node so that they never read as its children.
std::string tree_text(table_tree& tree, bool values);

}  // namespace kestrel::views
