#pragma once

// Finds nodes of a table tree by what it shows: a node matches when its label or one of its
// rows' values contains the query (letters compared without case), and, when the query
// reads as a hexadecimal number ("0x1F4", "1f4"), when one of its PID or identifier rows
// holds that number. Matches come in display order, each node once.
//
// The labels and values are read once, at the first search, into one folded text, so that
// each further query is a scan of that text and never builds rows or widgets again. The
// search points into its tree: drop it with the tree.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "views/table_tree.h"

namespace kestrel::views {

class tree_search {
  public:
    explicit tree_search(table_tree& tree) : tree_(tree) {}

    // The nodes that match `query`, in display order; none for an empty query.
    const std::vector<const tree_node*>& find(std::string_view query);
    const std::vector<const tree_node*>& matches() const { return matches_; }

    // The match after `from` in display order (before it with `backward`), round from the
    // last to the first; the first (last) without `from`; null without matches.
    const tree_node* step(const tree_node* from, bool backward) const;
    // The number of `node` among the matches, from 0; none when it is no match.
    std::optional<std::size_t> position(const tree_node& node) const;

  private:
    struct entry {
        const tree_node* node;
        std::size_t text_end;  // this node's part of text_ ends here
        std::size_t ids_end;   // and of ids_
    };
    void index();
    void index(const tree_node& node);

    table_tree& tree_;
    std::string text_;  // each node's label and row values folded, each ending in '\n'
    std::vector<std::uint32_t> ids_;
    std::vector<entry> entries_;  // in display order
    bool indexed_ = false;
    std::vector<const tree_node*> matches_;
};

// True when `a` comes before `b` in display order (depth first, parents first).
bool precedes(const tree_node* a, const tree_node* b);

}  // namespace kestrel::views
