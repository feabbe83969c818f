#include "lib13818/fields/field_text.h"
#include "views/described_names.h"
#include "views/described_walk.h"
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

}  // namespace

std::vector<value_row> rows_of(lib::described_record r, text_decoder& text) {
    const lib::DescriptorDescribed& d = r.descriptor();
    std::vector<value_row> rows;
    for_each_row_field(r, [&](const lib::decoded_field& f) {
        rows.push_back({row_name(f.spec->name), shown_value(d, f, text)});
    });
    return rows;
}

std::vector<value_row> rows_of(const lib::DescriptorDescribed& d, text_decoder& text) {
    return rows_of(d.body(), text);
}

}  // namespace kestrel::views
