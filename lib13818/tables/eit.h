#pragma once

#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/core/values.h"
#include "lib13818/descriptors/component_descriptor.h"
#include "lib13818/descriptors/content_descriptor.h"
#include "lib13818/descriptors/extended_event_descriptor.h"
#include "lib13818/descriptors/short_event_descriptor.h"
#include "lib13818/descriptors/time_shifted_event_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// One event of an EIT section. A CA descriptor here stays generic.
struct EitEvent {
    EitEvent() = default;
    // Reads the event at the front of the event loop; faults of its described descriptors
    // go to `warnings`.
    EitEvent(reader& loop, std::vector<SectionWarning>& warnings);
    void dump(std::ostream& out) const;

    int32_t event_id = 0;
    int32_t running_status = 0;
    int32_t free_CA_mode = 0;
    int32_t descriptors_loop_length = 0;
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorShortEvent> short_event;
    std::vector<DescriptorExtendedEvent> extended_event;
    std::vector<DescriptorTimeShiftedEvent> time_shifted_event;
    std::vector<DescriptorComponent> component;
    std::vector<DescriptorContent> content;
    std::vector<DescriptorDescribed> described;
    UtcTime start_time;
    Duration duration;

  private:
    // Sizes the sequences of the kinds an event often holds several of, from a first
    // look at the descriptor loop, so that each costs one allocation.
    void reserve(reader loop_descriptors);
};

// event_information_section, table_id 0x4E-0x6F (ETSI EN 300 468 V1.16.1 clause 5.2.4):
// present/following or schedule events of one service, of this or another transport stream.
// table_id_extension is the service_id.
class Eit : public Section {
  public:
    const char* name() const override;
    // Empties the events.
    void clear() override;
    void dump(std::ostream& out) const override;

    int32_t transport_stream_id = 0;
    int32_t original_network_id = 0;
    int32_t segment_last_section_number = 0;
    int32_t last_table_id = 0;
    std::vector<EitEvent> events;

  protected:
    void parse_body(reader body) override;
    bool is_valid_table_id() const override { return table_id >= 0x4E && table_id <= 0x6F; }
    bool check_syntax_indicator(int indicator) const override { return indicator == 1; }
    bool check_reserved(int) const override { return true; }
};

}  // namespace lib13818
