#include "lib13818/descriptors/extended_event_descriptor.h"

#include "lib13818/core/dvb_text.h"

namespace lib13818 {

namespace {
// Reads one item from the front of the item list, after checking that both of its
// length-prefixed texts lie inside the list.
DescriptorExtendedEvent::Item read_item(reader& list) {
    const std::uint8_t* p = list.position();
    const std::size_t left = list.remaining();
    const std::size_t description_length = p[0];
    if (description_length + 2 > left || description_length + p[description_length + 1] + 2 > left)
        throw error(messages::data_length_mismatch, p);
    DescriptorExtendedEvent::Item item;
    item.item_description = DvbString::read_prefixed(list);
    item.item = DvbString::read_prefixed(list);
    return item;
}
}  // namespace

DescriptorExtendedEvent::DescriptorExtendedEvent(reader r) : Descriptor(r) {
    const std::uint8_t numbers = r.u8();
    descriptor_number = numbers >> 4;
    last_descriptor_number = numbers & 0x0F;
    ISO_639_language_code = read_language_code(r);
    reader list = r.sub(r.u8());
    while (!list.at_end())
        items.push_back(read_item(list));
    text = DvbString::read_prefixed(r);
}

void DescriptorExtendedEvent::dump_body(std::ostream& out) const {
    out << "descriptor_number: " << descriptor_number << '\n'
        << "last_descriptor_number: " << last_descriptor_number << '\n'
        << "language_code: " << ISO_639_language_code.data() << '\n'
        << "text: " << text << '\n';
    for (const Item& i : items)
        out << "description: " << i.item_description << '\n' << "item: " << i.item << '\n';
}

}  // namespace lib13818
