#include "lib13818/tables/cat.h"

namespace lib13818 {

void Cat::parse_body(reader body) {
    constexpr std::size_t least_descriptor = 6;  // tag, length, CA_system_ID, CA_PID
    while (!body.at_end()) {
        const std::uint8_t* p = body.position();
        if (body.remaining() < least_descriptor) throw error(messages::invalid_descriptor_size, p);
        if (p[0] != DescriptorCA::tag) throw error(messages::invalid_descriptor_tag, p);
        DescriptorCA& d = CA_descriptors.emplace_back(body.sub(std::size_t{p[1]} + 2));
        d.descriptor_length = -1;  // the CAT's descriptors carry no length
    }
}

void Cat::dump(std::ostream& out) const {
    for (const DescriptorCA& d : CA_descriptors)
        d.dump(out);
    out << std::dec;
}

}  // namespace lib13818
