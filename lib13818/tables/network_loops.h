#pragma once

#include <ostream>
#include <vector>

#include "lib13818/core/reader.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/generic_descriptor.h"

namespace lib13818 {

// What NIT and BAT sections share: a first descriptor loop for the network or bouquet,
// then a loop of transport stream entries.

// Walks a descriptor loop: CA descriptors to `ca`, every other tag to `general`.
void read_ca_and_general(reader loop, std::vector<DescriptorGeneric>& general, std::vector<DescriptorCA>& ca);

// Reads the first descriptor loop from the front of the body: CA descriptors to `ca`,
// every other tag to `general`. Returns the transport stream loop that follows it.
reader read_network_loops(reader& body, std::vector<DescriptorGeneric>& general,
                          std::vector<DescriptorCA>& ca);

// Reads the 6-byte head of the transport stream entry at the front of the loop and
// returns the entry's descriptor loop; fewer than 6 bytes throw "too little data".
reader read_transport_stream_head(reader& loop, int32_t& transport_stream_id, int32_t& original_network_id);

// The head lines of a transport stream entry in a dump.
void dump_transport_stream_head(std::ostream& out, int32_t transport_stream_id, int32_t original_network_id);

}  // namespace lib13818
