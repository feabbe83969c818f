#include "lib13818/descriptors/content_descriptor.h"

namespace lib13818 {

DescriptorContent::DescriptorContent(reader r) : Descriptor(r) {
    if (descriptor_length % 2 != 0) throw error(messages::descriptor_length_mismatch, r.position());
    items.reserve(static_cast<std::size_t>(descriptor_length / 2));
    while (!r.at_end()) {
        const std::uint8_t content = r.u8();
        const std::uint8_t user = r.u8();
        items.push_back({content >> 4, content & 0x0F, user >> 4, user & 0x0F});
    }
}

void DescriptorContent::dump_body(std::ostream& out) const {
    for (const Item& i : items)
        out << "content_nibble_level1: " << i.content_nibble_level1 << '\n'
            << "content_nibble_level2: " << i.content_nibble_level2 << '\n'
            << "user_nibble1: " << i.user_nibble1 << '\n'
            << "user_nibble2: " << i.user_nibble2 << '\n';
}

}  // namespace lib13818
