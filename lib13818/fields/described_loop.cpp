#include "lib13818/fields/described_loop.h"

#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/field_reader.h"

namespace lib13818 {

namespace {
constexpr std::uint8_t extension_tag = 0x7F;
}

void described_loop::add(reader d) {
    const std::uint8_t* p = d.position();
    const int extension = p[0] == extension_tag && p[1] > 0 ? p[2] : description::no_extension;
    const description* what = find_description(p[0], extension, specifier_);
    if (what == nullptr) {
        general_.emplace_back(d);
        return;
    }
    DescriptorDescribed& decoded = described_.emplace_back();
    const bool read = read_described(*what, d, specifier_, decoded, warnings_);
    if (what == &descriptions::private_data_specifier)
        specifier_ = read ? decoded.number("private_data_specifier").value_or(decoded_field::no_specifier)
                          : decoded_field::no_specifier;
    if (!read) {
        described_.pop_back();
        general_.emplace_back(d);
    }
}

}  // namespace lib13818
