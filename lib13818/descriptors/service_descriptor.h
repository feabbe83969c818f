#pragma once

#include <string>

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// service_descriptor, tag 0x48 (ETSI EN 300 468 V1.16.1 clause 6.2.33): a service's type
// and its provider and service names. The names are the raw bytes, a leading character
// table byte included.
class DescriptorService : public Descriptor {
  public:
    DescriptorService() = default;
    // r spans exactly the descriptor; a name length that runs past it throws "too little data".
    explicit DescriptorService(reader r);

    const char* name() const override { return "service_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t service_type = 0;
    std::string provider_name;
    std::string service_name;
};

}  // namespace lib13818
