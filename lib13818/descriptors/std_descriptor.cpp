#include "lib13818/descriptors/std_descriptor.h"

namespace lib13818 {

DescriptorSTD::DescriptorSTD(reader r) : Descriptor(r) {
    leak_valid_flag = r.u8() & 1;
}

void DescriptorSTD::dump_body(std::ostream& out) const {
    out << "leak_valid_flag: " << leak_valid_flag << '\n';
}

}  // namespace lib13818
