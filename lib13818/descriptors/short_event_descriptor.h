#pragma once

#include "lib13818/core/dvb_string.h"
#include "lib13818/core/values.h"
#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// short_event_descriptor, tag 0x4D (ETSI EN 300 468 V1.16.1 clause 6.2.37): an event's
// name and a short description in one language.
class DescriptorShortEvent : public Descriptor {
  public:
    DescriptorShortEvent() = default;
    // r spans exactly the descriptor; a text length that runs past it throws "too little data".
    explicit DescriptorShortEvent(reader r);

    const char* name() const override { return "short_event_descriptor"; }
    void dump_body(std::ostream& out) const override;

    LanguageCode ISO_639_language_code{};
    DvbString event_name;
    DvbString text;
};

}  // namespace lib13818
