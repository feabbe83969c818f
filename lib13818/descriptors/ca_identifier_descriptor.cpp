#include "lib13818/descriptors/ca_identifier_descriptor.h"

namespace lib13818 {

DescriptorCAIdentifier::DescriptorCAIdentifier(reader r) : Descriptor(r) {
    if (r.remaining() % 2 != 0) throw error(messages::descriptor_length_mismatch, r.position() - 1);
    while (!r.at_end())
        CA_system_ids.push_back(r.u16());
}

void DescriptorCAIdentifier::dump_body(std::ostream& out) const {
    for (int32_t id : CA_system_ids)
        out << "CA_system_id:" << id << '\n';
}

}  // namespace lib13818
