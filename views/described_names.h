#pragma once

// What the views call described descriptors, their fields and their loops, derived from
// the standard's names: upper case for tree nodes and value rows ("AC-3_descriptor" shows as
// AC_3_DESCRIPTOR), lower case without "_descriptor" for JSON keys (ac_3).

#include <string>
#include <string_view>
#include <vector>

#include "lib13818/fields/described_descriptor.h"

namespace kestrel::views {

namespace lib = lib13818;

// A row name for the field name `name`, kept for the whole run (value rows hold names as views).
std::string_view row_name(const char* name);

// The tree node of one descriptor or loop entry, and of several.
std::string singular_node(const char* name);
std::string plural_node(const char* name);

// The JSON key of a descriptor kind, and of a field (its unit's suffix appended).
std::string json_key(const lib::description& d);
std::string json_key(const lib::field& f);

// The only field a loop entry shows, when it shows one and nothing else: such loops are
// lists of values (frequencies), not entries of their own.
const lib::field* sole_field(const lib::record& r);

// The described descriptors of one loop grouped by kind, kinds in the order of their tags.
// Kinds of the same name (a descriptor that two private specifiers define alike) share a group.
struct described_kind {
    const lib::description* what = nullptr;
    std::vector<const lib::DescriptorDescribed*> members;
};
std::vector<described_kind> kinds_of(const std::vector<lib::DescriptorDescribed>& described);

}  // namespace kestrel::views
