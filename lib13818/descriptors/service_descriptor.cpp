#include "lib13818/descriptors/service_descriptor.h"

#include "lib13818/core/dvb_text.h"

namespace lib13818 {

namespace {
std::string read_name(reader& r) {
    const std::size_t n = r.u8();
    return std::string(reinterpret_cast<const char*>(r.bytes(n)), n);
}
}  // namespace

DescriptorService::DescriptorService(reader r) : Descriptor(r) {
    service_type = r.u8();
    provider_name = read_name(r);
    service_name = read_name(r);
}

void DescriptorService::dump_body(std::ostream& out) const {
    out << "service_type " << service_type << '\n'
        << "provider_name " << prefixed_dvb_text{provider_name} << '\n'
        << "service_name " << prefixed_dvb_text{service_name} << '\n';
}

}  // namespace lib13818
