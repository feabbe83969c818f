#include "lib13818/descriptors/ca_descriptor.h"

#include <iomanip>

#include "lib13818/core/hex_dump.h"
#include "lib13818/names/ca_provider_names.h"

namespace lib13818 {

DescriptorCA::DescriptorCA(reader r) : Descriptor(r) {
    if (descriptor_tag != tag) throw error(messages::invalid_descriptor_tag, r.position() - 2);
    CA_system_ID = r.u16();
    CA_PID = r.u16() & 0x1FFF;
    const std::uint8_t* p = r.bytes(r.remaining());
    private_data.assign(p, r.position());
}

DescriptorCA::DescriptorCA(int32_t CA_system_ID, int32_t CA_PID)
    : CA_system_ID(CA_system_ID), CA_PID(CA_PID) {
    descriptor_tag = tag;
    descriptor_length = -1;
}

void DescriptorCA::dump_body(std::ostream& out) const {
    out << "sys_id: " << std::setw(4) << CA_system_ID << ' ' << ca_provider_name(CA_system_ID) << '\n'
        << "pid: " << std::setw(4) << CA_PID << '\n';
    if (private_data.empty()) return;
    out << "private data:\n";
    hex_dump(out, private_data);
}

}  // namespace lib13818
