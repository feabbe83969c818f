#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// time_shifted_event_descriptor, tag 0x4F (ETSI EN 300 468 V1.16.1 clause 6.2.45): an NVOD
// event that repeats the event it names on its reference service.
class DescriptorTimeShiftedEvent : public Descriptor {
  public:
    DescriptorTimeShiftedEvent() = default;
    // r spans exactly the descriptor; fewer than 4 bytes of fields throw "too little data".
    explicit DescriptorTimeShiftedEvent(reader r);

    const char* name() const override { return "time_shifted_event_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t reference_service_id = 0;
    int32_t reference_event_id = 0;
};

}  // namespace lib13818
