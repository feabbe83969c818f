#pragma once

#include <vector>

#include "lib13818/core/dvb_string.h"
#include "lib13818/core/values.h"
#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// extended_event_descriptor, tag 0x4E (ETSI EN 300 468 V1.16.1 clause 6.2.15): one of a
// numbered run of descriptors that carry an event's long description, as a list of
// (description, item) pairs and a text.
class DescriptorExtendedEvent : public Descriptor {
  public:
    struct Item {
        DvbString item_description;
        DvbString item;
    };

    DescriptorExtendedEvent() = default;
    // r spans exactly the descriptor. An item whose two texts run past the item list throws
    // "data length mismatch"; an item list or text that runs past the descriptor, "too little data".
    explicit DescriptorExtendedEvent(reader r);

    const char* name() const override { return "extended_event_descriptor"; }
    void dump_body(std::ostream& out) const override;

    int32_t descriptor_number = 0;
    int32_t last_descriptor_number = 0;
    LanguageCode ISO_639_language_code{};
    DvbString text;
    std::vector<Item> items;
};

}  // namespace lib13818
