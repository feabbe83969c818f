#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "device/tuner_params.h"
#include "lib13818/descriptors/satellite_delivery_system_descriptor.h"

namespace kestrel::views {

// The tuning "Set tuner..." offers for a satellite delivery system descriptor: the
// tuning read back from the card (`get_tuner` gave `read_result`) with the descriptor's
// frequency (GHz), polarisation (word A), FEC_inner (word B) and symbol rate in kilosymbols
// per second, rounded (word C), and the delivery its modulation bits describe (DVB-S or
// DVB-S2, modulation, roll-off); type, DiSEqC position and 12 V stay as read. Only a
// successful read-back of a DVB-S card gives a tuning; otherwise the reason to show.
std::variant<TUNERPARM, std::string> tuning_from(const lib13818::DescriptorSatelliteDeliverySystem& delivery,
                                                 const TUNERPARM& read_back, std::uint32_t read_result);

}  // namespace kestrel::views
