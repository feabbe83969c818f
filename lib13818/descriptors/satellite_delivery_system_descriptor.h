#pragma once

#include "lib13818/descriptors/descriptor.h"

namespace lib13818 {

// satellite_delivery_system_descriptor, tag 0x43 (ETSI EN 300 468 V1.16.1 clause 6.2.13.2):
// where a transport stream of the network is transmitted. The BCD fields are decoded
// into GHz, degrees and Msymbol/s. `modulation` keeps bits 4-0 of byte 8 as the first
// edition read them; roll_off, modulation_system and modulation_type split them as DVB-S2
// does.
class DescriptorSatelliteDeliverySystem : public Descriptor {
  public:
    DescriptorSatelliteDeliverySystem() = default;
    // r spans exactly the descriptor; fewer than the 11 bytes of fields throw "too little data".
    explicit DescriptorSatelliteDeliverySystem(reader r);

    const char* name() const override { return "satellite_delivery_system_descriptor"; }
    void dump_body(std::ostream& out) const override;

    double frequency = 0;
    double orbital_position = 0;
    int32_t west_east_flag = 0;
    int32_t polarization = 0;
    int32_t modulation = 0;
    double symbol_rate = 0;
    int32_t FEC_inner = 0;
    int32_t roll_off = 0;
    int32_t modulation_system = 0;
    int32_t modulation_type = 0;
    // The frequency as its eight BCD digits count it, in units of 10 kHz.
    std::uint32_t frequency_10khz = 0;
};

}  // namespace lib13818
