#include "lib13818/descriptors/teletext_descriptor.h"

namespace lib13818 {

DescriptorTeletext::Page DescriptorTeletext::Page::read(reader& r) {
    Page p;
    p.ISO_639_language_code = read_language_code(r);
    const std::uint8_t type_and_magazine = r.u8();
    p.teletext_type = type_and_magazine >> 3;
    p.teletext_magazine_number = type_and_magazine & 7;
    p.teletext_page_number = r.u8();
    return p;
}

DescriptorTeletext::DescriptorTeletext(reader r) : Descriptor(r) {
    if (r.remaining() % 5 != 0) throw error(messages::descriptor_length_mismatch, r.position() - 1);
    while (!r.at_end())
        pages.push_back(Page::read(r));
}

void DescriptorTeletext::dump_body(std::ostream& out) const {
    for (const Page& p : pages)
        out << "language_code " << p.ISO_639_language_code.data() << '\n'
            << "teletext_type " << p.teletext_type << '\n'
            << "teletext_magazine_number " << p.teletext_magazine_number << '\n'
            << "teletext_page_number " << p.teletext_page_number << '\n';
}

}  // namespace lib13818
