#include "lib13818/descriptors/time_shifted_event_descriptor.h"

namespace lib13818 {

DescriptorTimeShiftedEvent::DescriptorTimeShiftedEvent(reader r) : Descriptor(r) {
    reference_service_id = r.u16();
    reference_event_id = r.u16();
}

void DescriptorTimeShiftedEvent::dump_body(std::ostream& out) const {
    out << "reference_service_id: " << reference_service_id << '\n'
        << "reference_event_id: " << reference_event_id << '\n';
}

}  // namespace lib13818
