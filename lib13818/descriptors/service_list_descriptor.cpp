#include "lib13818/descriptors/service_list_descriptor.h"

namespace lib13818 {

namespace {
constexpr int32_t entry_size = 3;
}

DescriptorServiceList::DescriptorServiceList(reader r) : Descriptor(r) {
    if (descriptor_length % entry_size != 0) throw error(messages::descriptor_length_mismatch, r.position());
    services.reserve(static_cast<std::size_t>(descriptor_length / entry_size));
    while (!r.at_end()) {
        Service s;
        s.service_id = r.u16();
        s.service_type = r.u8();
        services.push_back(s);
    }
}

void DescriptorServiceList::dump_body(std::ostream& out) const {
    for (const Service& s : services)
        out << "service_id " << s.service_id << '\n' << "service_type " << s.service_type << '\n';
}

}  // namespace lib13818
