#pragma once

#include <ostream>
#include <vector>

#include "lib13818/core/reader.h"
#include "lib13818/core/section.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/generic_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// What NIT and BAT sections share: a first descriptor loop for the network or bouquet,
// then a loop of transport stream entries.

// The sequences a NIT's or BAT's descriptor loop fills.
struct network_descriptors {
    std::vector<DescriptorGeneric>& general;
    std::vector<DescriptorCA>& CA;
    std::vector<DescriptorDescribed>& described;
};

// Walks a descriptor loop: CA descriptors to `CA`, described ones to `described`, every
// other tag to `general`; faults of described ones are warnings of the section.
void read_network_descriptors(reader loop, const network_descriptors& into,
                              std::vector<SectionWarning>& warnings);

// Reads the first descriptor loop from the front of a NIT's or BAT's body into `into`
// (whose `general` is the table's `descriptors`). Returns the transport stream loop
// that follows it. Where transport_stream_loop_length disagrees with the bytes left before
// the CRC_32 and those bytes hold whole entries exactly, they are the loop, and the table
// gets a warning that names the length field's byte; a loop running past the section still
// throws.
reader read_network_loops(reader& body, Section& table, const network_descriptors& into);

// A transport stream entry's head: ids and the length of its descriptors.
inline constexpr std::size_t transport_stream_head_size = 6;

// Reads the 6-byte head of the transport stream entry at the front of the loop and
// returns the entry's descriptor loop; fewer than 6 bytes throw "too little data".
reader read_transport_stream_head(reader& loop, int32_t& transport_stream_id, int32_t& original_network_id);

// The head lines of a transport stream entry in a dump.
void dump_transport_stream_head(std::ostream& out, int32_t transport_stream_id, int32_t original_network_id);

}  // namespace lib13818
