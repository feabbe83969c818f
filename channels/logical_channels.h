#pragma once

// The logical channel numbers a network gives its services: descriptor 0x83 after a
// private_data_specifier of 0x28 (EACEM) or 0x29 (NorDig), in the transport stream loops of
// NITs and BATs.

#include <cstdint>
#include <map>
#include <tuple>

#include "model/scan_result.h"

namespace kestrel::channels {

struct channel_number {
    std::int32_t number = 0;
    bool visible = true;
};

// By original_network_id, transport_stream_id, service_id.
using service_key = std::tuple<std::int32_t, std::int32_t, std::int32_t>;
using channel_numbers = std::map<service_key, channel_number>;

// Every number the scanned NITs (actual and other) and BATs give. A service numbered by a NIT
// keeps that number whatever a BAT says; among NITs, or among BATs, the first seen is kept.
channel_numbers find_channel_numbers(const AllNetworks& networks);

}  // namespace kestrel::channels
