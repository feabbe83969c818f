#include "views/tree_search.h"

#include <algorithm>

namespace kestrel::views {

namespace {

// Lower case for ASCII and for the Latin-1 capitals in UTF-8 (C3 80..C3 9E but the
// multiplication sign), the letters of most service and event names.
void append_folded(std::string& out, std::string_view text) {
    bool after_c3 = false;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 'A' && b <= 'Z')
            out += static_cast<char>(b + 0x20);
        else if (after_c3 && b >= 0x80 && b <= 0x9E && b != 0x97)
            out += static_cast<char>(b + 0x20);
        else
            out += c;
        after_c3 = b == 0xC3;
    }
}

std::optional<std::uint32_t> number(std::string_view digits, unsigned base) {
    if (digits.empty() || digits.size() > (base == 16 ? 8u : 9u)) return std::nullopt;
    std::uint32_t value = 0;
    for (const char c : digits) {
        unsigned digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return std::nullopt;
        value = value * base + digit;
    }
    return value;
}

// "0x1F4" or "1F4", blanks around allowed.
std::optional<std::uint32_t> hex_query(std::string_view query) {
    const auto first = query.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    query = query.substr(first, query.find_last_not_of(' ') - first + 1);
    if (query.size() > 2 && query[0] == '0' && (query[1] == 'x' || query[1] == 'X')) query.remove_prefix(2);
    return number(query, 16);
}

// The base an identifier row shows its number in, or 0 for a row that is no identifier.
// Identifiers are the rows named "...ID" or "...PID" (a word of the name) and a PMT's
// program number; all lead their value in hexadecimal ("01F4", "2f00 - name") except a few
// the builders write in decimal.
unsigned id_base(std::string_view name) {
    static constexpr std::string_view decimal_ids[] = {"BOUQUET_ID", "LAST_TABLE_ID", "REFERENCE_SERVICE_ID",
                                                       "REFERENCE_EVENT_ID", "COUNTRY_REGION_ID"};
    const bool id = name.ends_with("_ID") || name.ends_with(" ID") || name == "PID" ||
                    name.ends_with(" PID") || name == "PROGRAM NUMBER";
    if (!id) return 0;
    return std::find(std::begin(decimal_ids), std::end(decimal_ids), name) != std::end(decimal_ids) ? 10 : 16;
}

std::vector<std::size_t> path_of(const tree_node* node) {
    std::vector<std::size_t> rows;
    for (; node != nullptr; node = node->parent)
        rows.push_back(node->row);
    std::reverse(rows.begin(), rows.end());
    return rows;
}

}  // namespace

bool precedes(const tree_node* a, const tree_node* b) {
    const std::vector<std::size_t> pa = path_of(a), pb = path_of(b);
    return std::lexicographical_compare(pa.begin(), pa.end(), pb.begin(), pb.end());
}

void tree_search::index() {
    if (indexed_) return;
    index(tree_.root());
    indexed_ = true;
}

void tree_search::index(const tree_node& node) {
    append_folded(text_, node.text);
    text_ += '\n';
    for (const value_row& row : tree_.rows(node)) {
        append_folded(text_, row.value);
        text_ += '\n';
        if (const unsigned base = id_base(row.name))
            if (const auto id = number(std::string_view(row.value).substr(0, row.value.find(' ')), base))
                ids_.push_back(*id);
    }
    entries_.push_back({&node, text_.size(), ids_.size()});
    for (const auto& child : node.children)
        index(*child);
}

const std::vector<const tree_node*>& tree_search::find(std::string_view query) {
    matches_.clear();
    if (query.empty()) return matches_;
    index();
    std::string folded;
    append_folded(folded, query);
    const std::optional<std::uint32_t> id = hex_query(query);
    // Each node's part ends in a line break, so a query without one never spans two nodes.
    const bool by_text = folded.find('\n') == std::string::npos;
    std::size_t hit = by_text ? text_.find(folded) : std::string::npos;
    std::size_t ids_begin = 0;
    for (const entry& e : entries_) {
        bool match = hit < e.text_end;
        if (match) hit = text_.find(folded, e.text_end);
        if (!match && id) {
            const auto first = ids_.begin() + static_cast<std::ptrdiff_t>(ids_begin);
            const auto last = ids_.begin() + static_cast<std::ptrdiff_t>(e.ids_end);
            match = std::find(first, last, *id) != last;
        }
        if (match) matches_.push_back(e.node);
        ids_begin = e.ids_end;
    }
    return matches_;
}

const tree_node* tree_search::step(const tree_node* from, bool backward) const {
    if (matches_.empty()) return nullptr;
    if (from == nullptr) return backward ? matches_.back() : matches_.front();
    if (backward) {
        const auto at = std::lower_bound(matches_.begin(), matches_.end(), from, precedes);
        return at == matches_.begin() ? matches_.back() : *(at - 1);
    }
    const auto after = std::upper_bound(matches_.begin(), matches_.end(), from, precedes);
    return after == matches_.end() ? matches_.front() : *after;
}

std::optional<std::size_t> tree_search::position(const tree_node& node) const {
    const auto at = std::lower_bound(matches_.begin(), matches_.end(), &node, precedes);
    if (at == matches_.end() || *at != &node) return std::nullopt;
    return static_cast<std::size_t>(at - matches_.begin());
}

}  // namespace kestrel::views
