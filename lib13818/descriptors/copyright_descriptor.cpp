#include "lib13818/descriptors/copyright_descriptor.h"

#include "lib13818/core/hex_dump.h"

namespace lib13818 {

DescriptorCopyright::DescriptorCopyright(reader r) : Descriptor(r) {
    copyright_identifier = r.u32();
    const std::uint8_t* p = r.bytes(r.remaining());
    additional_copyright_info.assign(p, r.position());
}

void DescriptorCopyright::dump_body(std::ostream& out) const {
    out << "copyright_identifier:" << copyright_identifier << '\n' << "additional_copyright_info: \n";
    hex_dump(out, additional_copyright_info);
}

}  // namespace lib13818
