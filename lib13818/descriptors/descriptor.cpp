#include "lib13818/descriptors/descriptor.h"

#include <iomanip>

namespace lib13818 {

Descriptor::Descriptor(reader& r) {
    descriptor_tag = r.u8();
    descriptor_length = r.u8();
}

void Descriptor::dump(std::ostream& out) const {
    out << "descriptor_tag: " << std::hex << std::setfill('0') << std::setw(2) << descriptor_tag << ' '
        << name() << '\n';
    dump_body(out);
}

}  // namespace lib13818
