#include "lib13818/fields/field_text.h"
#include "views/described_names.h"
#include "views/display_text.h"
#include "views/row_builders.h"
#include "views/row_list.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

std::string shown_value(const lib::DescriptorDescribed& d, const lib::decoded_field& f, text_decoder& text) {
    switch (f.spec->kind) {
        case lib::field_kind::text:
            return shown(text, lib::DvbString::split(d.bytes_of(f)));
        case lib::field_kind::bytes: {
            const std::string_view bytes = d.bytes_of(f);
            return byte_dump({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        }
        case lib::field_kind::language:
            return shown_code(lib::language_of(f.value));
        case lib::field_kind::utc_time:
            return padded_time(lib::utc_time_of(f.value));
        case lib::field_kind::duration:
            return duration_text(lib::duration_of(f.value));
        default:
            return lib::number_text(f, true);
    }
}

void add_row(std::vector<value_row>& rows, const lib::DescriptorDescribed& d, const lib::decoded_field& f,
             text_decoder& text) {
    if (lib::is_shown(*f.spec)) rows.push_back({row_name(f.spec->name), shown_value(d, f, text)});
}

}  // namespace

// A row per field of the record in the description's order; a loop of single values adds a
// row per value, a loop of entries none (its entries are nodes of their own).
std::vector<value_row> rows_of(lib::described_record r, text_decoder& text) {
    const lib::DescriptorDescribed& d = r.descriptor();
    std::vector<value_row> rows;
    for (std::size_t i = r.first(); i < r.end(); i = d.fields[i].end) {
        const lib::decoded_field& f = d.fields[i];
        if (f.kind != lib::decoded_field::role::loop) {
            add_row(rows, d, f, text);
        } else if (sole_field(*f.spec->element) != nullptr) {
            for (std::size_t entry = i + 1; entry < f.end; entry = d.fields[entry].end)
                for (std::size_t value = entry + 1; value < d.fields[entry].end; ++value)
                    add_row(rows, d, d.fields[value], text);
        }
    }
    return rows;
}

std::vector<value_row> rows_of(const lib::DescriptorDescribed& d, text_decoder& text) {
    return rows_of(d.body(), text);
}

}  // namespace kestrel::views
