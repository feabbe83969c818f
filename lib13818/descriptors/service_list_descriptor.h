#pragma once

#include <vector>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// service_list_descriptor, tag 0x41 (ETSI EN 300 468 V1.16.1 clause 6.2.35): the services
// of a transport stream with their types, as a NIT transport stream entry lists them.
class DescriptorServiceList : public Descriptor {
  public:
    struct Service {
        int32_t service_id = 0;
        int32_t service_type = 0;
    };

    DescriptorServiceList() = default;
    // r spans exactly the descriptor; a length that is not a whole number of entries
    // throws "descriptor length mismatch".
    explicit DescriptorServiceList(reader r);

    const char* name() const override { return "service_list_descriptor"; }
    void dump_body(std::ostream& out) const override;

    std::vector<Service> services;
};

}  // namespace lib13818
