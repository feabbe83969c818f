#pragma once

#include "lib13818/fields/description.h"

namespace lib13818::descriptions {

// data_broadcast_id values (ETSI TR 101 162), which the data_broadcast and
// data_broadcast_id descriptors share.
inline constexpr value_name data_broadcast_ids[] = {
    {0x0001, "data pipe"},
    {0x0002, "asynchronous data stream"},
    {0x0003, "synchronous data stream"},
    {0x0004, "synchronised data stream"},
    {0x0005, "multi protocol encapsulation"},
    {0x0006, "data carousel"},
    {0x0007, "object carousel"},
    {0x0008, "DVB ATM streams"},
    {0x0009, "higher protocols based on asynchronous data streams"},
    {0x000A, "system software update"},
    {0x000B, "IP/MAC notification"},
    {0x00F0, "MHP object carousel"},
    {0x00F1, "MHP multiprotocol encapsulation"},
    {0x0123, "HbbTV"},
};

}  // namespace lib13818::descriptions
