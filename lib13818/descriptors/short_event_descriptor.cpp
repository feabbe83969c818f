#include "lib13818/descriptors/short_event_descriptor.h"

#include "lib13818/core/dvb_text.h"

namespace lib13818 {

DescriptorShortEvent::DescriptorShortEvent(reader r) : Descriptor(r) {
    ISO_639_language_code = read_language_code(r);
    event_name = DvbString::read_prefixed(r);
    text = DvbString::read_prefixed(r);
}

void DescriptorShortEvent::dump_body(std::ostream& out) const {
    out << "language_code: " << ISO_639_language_code.data() << '\n'
        << "event_name: " << event_name << '\n'
        << "text: " << text << '\n';
}

}  // namespace lib13818
