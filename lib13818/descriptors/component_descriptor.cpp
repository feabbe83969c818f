#include "lib13818/descriptors/component_descriptor.h"

#include "lib13818/core/dvb_text.h"

namespace lib13818 {

DescriptorComponent::DescriptorComponent(reader r) : Descriptor(r) {
    stream_content = r.u8() & 0x0F;
    component_type = r.u8();
    component_tag = r.u8();
    ISO_639_language_code = read_language_code(r);
    text = DvbString::read(r, r.remaining());
}

void DescriptorComponent::dump_body(std::ostream& out) const {
    out << "stream_content: " << stream_content << '\n'
        << "component_type: " << component_type << '\n'
        << "component_tag: " << component_tag << '\n'
        << "language_code: " << ISO_639_language_code.data() << '\n'
        << "text: " << text << '\n';
}

}  // namespace lib13818
