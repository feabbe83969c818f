#pragma once

#include "lib13818/fields/described_descriptor.h"
#include "lib13818/fields/field_text.h"
#include "views/described_names.h"

namespace kestrel::views {

// The fields of a described record that show as value rows, in row order: each shown field
// of the record, and for a loop of single values (frequencies) each value of each entry. A
// loop of entries shows none: its entries are nodes of their own.
template <class Visit>
void for_each_row_field(const lib13818::described_record& r, Visit&& visit) {
    using lib13818::decoded_field;
    const lib13818::DescriptorDescribed& d = r.descriptor();
    const auto shown = [&](const decoded_field& f) {
        if (lib13818::is_shown(*f.spec)) visit(f);
    };
    for (std::size_t i = r.first(); i < r.end(); i = d.fields[i].end) {
        const decoded_field& f = d.fields[i];
        if (f.kind != decoded_field::role::loop) {
            shown(f);
        } else if (sole_field(*f.spec->element) != nullptr) {
            for (std::size_t entry = i + 1; entry < f.end; entry = d.fields[entry].end)
                for (std::size_t value = entry + 1; value < d.fields[entry].end; ++value)
                    shown(d.fields[value]);
        }
    }
}

}  // namespace kestrel::views
