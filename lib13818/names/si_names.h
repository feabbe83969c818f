#pragma once

#include <cstdint>

namespace lib13818 {

// Display names of coded SI fields (ETSI EN 300 468). Each returns a constant string
// that lives for the whole run; no lookup fails.

// service_type of the service and service list descriptors.
const char* service_type_name(int32_t service_type);
// polarization, modulation and FEC_inner of the satellite delivery system descriptor. The
// FEC names include the DVB-S2 rates 8/9, 3/5, 4/5 and 9/10.
const char* polarisation_name(int32_t polarization);
const char* modulation_name(int32_t modulation);
const char* fec_inner_name(int32_t fec_inner);
// teletext_type of a teletext descriptor page.
const char* teletext_type_name(int32_t teletext_type);

}  // namespace lib13818
