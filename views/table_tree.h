#pragma once

// The table tree of a scan result, built once from AllNetworks by a pure function of it:
// "ALL NETWORKS", its networks in ascending original_network_id, their transponders, and
// under each transponder its tables, sections, loop entries and descriptors. The value
// rows of a node are built on demand.
//
// The tree points into the AllNetworks it was built from: drop it before that AllNetworks
// changes (a new scan, emptying the results). It belongs to one thread: it holds the text
// decoders of its networks.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lib13818/core/dvb_text.h"
#include "model/scan_result.h"
#include "views/tree_node.h"
#include "views/value_rows.h"

namespace kestrel::views {

struct tree_options {
    // The run's table for texts without a selector (an iconv name, "" for ISO/IEC 6937);
    // without it each network's table is guessed once from its own texts.
    std::optional<std::string> charset;
    // The value pane the trace lines name (the GUI's); null for others.
    const void* value_pane = nullptr;
};

class table_tree {
  public:
    explicit table_tree(const AllNetworks& networks, const tree_options& options = {});

    const tree_node& root() const { return *root_; }

    // The rows of the node's record, texts decoded with the table of the node's network.
    std::vector<value_row> rows(const tree_node& node);
    // The decoder of the network a node lies under (the first network's for the root).
    lib13818::dvb_text_decoder& decoder_for(const tree_node& node);

  private:
    std::unique_ptr<tree_node> root_;
    std::vector<lib13818::dvb_text_decoder> decoders_;  // one per network node, in order
    lib13818::dvb_text_decoder fallback_;               // for a tree without networks
};

}  // namespace kestrel::views
