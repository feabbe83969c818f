#include "lib13818/descriptors/stream_identifier_descriptor.h"

namespace lib13818 {

DescriptorStreamIdentifier::DescriptorStreamIdentifier(reader r) : Descriptor(r) {
    component_tag = r.u8();
}

void DescriptorStreamIdentifier::dump_body(std::ostream& out) const {
    out << "component_tag:" << component_tag << '\n';
}

}  // namespace lib13818
