#pragma once

#include <string_view>
#include <vector>

#include "lib13818/tables/eit.h"
#include "lib13818/tables/sdt.h"

namespace lib13818 {

// Appends the texts of a table that carry no character table selector (event names and
// texts, component texts, provider and service names), the evidence guess_default_charset
// weighs. The views point into the table, which must outlive them.
void collect_selectorless_texts(const Eit& eit, std::vector<std::string_view>& texts);
void collect_selectorless_texts(const Sdt& sdt, std::vector<std::string_view>& texts);

}  // namespace lib13818
