#include "lib13818/descriptors/iso639_language_descriptor.h"

namespace lib13818 {

DescriptorISO639Language::DescriptorISO639Language(reader r) : Descriptor(r) {
    if (r.remaining() % 4 != 0) throw error(messages::descriptor_length_mismatch, r.position() - 1);
    while (!r.at_end()) {
        Language l;
        l.ISO_639_language_code = read_language_code(r);
        l.audio_type = r.u8();
        languages.push_back(l);
    }
}

void DescriptorISO639Language::dump_body(std::ostream& out) const {
    for (const Language& l : languages)
        out << "ISO_639_language_code: " << l.ISO_639_language_code.data() << '\n'
            << "audio_type: " << int{l.audio_type} << '\n';
}

}  // namespace lib13818
