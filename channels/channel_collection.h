#pragma once

// The entries of a channel list, collected from a scan result and put in the order a
// receiver numbers them.

#include <vector>

#include "channels/channel_entry.h"
#include "model/scan_result.h"

namespace kestrel::channels {

// One entry per program of each transport stream's PAT (a program_number repeated in a PAT
// counts once), named from the actual SDT, with its streams from the PMT and the tuning the
// transport stream was received with; satellite entries take the orbital position their
// network's NIT gives the transport stream (else any it gives the network).
//
// Order: where the NITs or BATs number services, the visible ones by number, then those
// flagged invisible by number, then every unnumbered service by service_id; ties go by
// original_network_id, transport_stream_id and service_id.
std::vector<channel_entry> collect_channels(const AllNetworks& networks);

// Puts entries into the order above.
void order_channels(std::vector<channel_entry>& entries);

}  // namespace kestrel::channels
