#include "lib13818/descriptors/private_data_indicator_descriptor.h"

namespace lib13818 {

DescriptorPrivateDataIndicator::DescriptorPrivateDataIndicator(reader r) : Descriptor(r) {
    private_data_indicator = r.u32();
}

void DescriptorPrivateDataIndicator::dump_body(std::ostream& out) const {
    out << "private_data_indicator: " << private_data_indicator << '\n';
}

}  // namespace lib13818
