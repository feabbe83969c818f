#pragma once

// The NIT's delivery descriptors in terms of the delivery record (delivery.h): each function
// takes a descriptor's coded fields as the standard numbers them (ETSI EN 300 468 V1.16.1
// clauses 6.2.13.1-6.2.13.4, 6.4.6.3) and gives the record they describe. A code the standard
// reserves gives the automatic value, so a tuning built from it lets the frontend find out.
//
//   0x43 satellite   byte 8 b4-0: roll_off (0 0.35, 1 0.25, 2 0.20), modulation_system
//                    (0 DVB-S, 1 DVB-S2), modulation_type (0 auto, 1 QPSK, 2 8PSK, 3 16-QAM);
//                    FEC_inner (1 1/2 .. 5 7/8, 6 8/9, 7 3/5, 8 4/5, 9 9/10, 15 none)
//   0x79 S2          input_stream_identifier, scrambling_sequence_index (when present)
//   0x44 cable       modulation (1 16-QAM .. 5 256-QAM), FEC_inner as 0x43
//   0x5A terrestrial bandwidth (0 8, 1 7, 2 6, 3 5 MHz), constellation (0 QPSK, 1 16-QAM,
//                    2 64-QAM), hierarchy_information (b1-0: 0 none, 1 a=1, 2 a=2, 3 a=4),
//                    code rates (0 1/2, 1 2/3, 2 3/4, 3 5/6, 4 7/8), guard_interval (0 1/32,
//                    1 1/16, 2 1/8, 3 1/4), transmission_mode (0 2k, 1 8k, 2 4k)
//   0x7F/0x04 T2     plp_id; when the descriptor is long enough: bandwidth (as 0x5A, then
//                    4 10 MHz, 5 1.712 MHz), guard_interval (as 0x5A, then 4 1/128, 5 19/128,
//                    6 19/256), transmission_mode (as 0x5A, then 3 1k, 4 16k, 5 32k)
//
// Real satellite NITs are not always consistent: 8PSK, a roll-off below 0.35 or a FEC only
// DVB-S2 has (3/5, 4/5, 9/10) with the system bit 0 describe a DVB-S2 signal all the same,
// since DVB-S has none of them; such a transport stream is taken as DVB-S2.

#include <cstdint>

#include "lib13818/delivery/delivery.h"

namespace lib13818 {

inline constexpr int32_t absent = -1;  // an optional field the descriptor does not carry

struct SatelliteCodes {
    int32_t roll_off = 0;
    int32_t modulation_system = 0;
    int32_t modulation_type = 0;
    int32_t FEC_inner = 0;
    int32_t input_stream_identifier = absent;    // 0x79, when multiple_input_stream_flag is set
    int32_t scrambling_sequence_index = absent;  // 0x79, when scrambling_sequence_selector is set
};
// The 0x43 byte's bits 4-0 as the satellite descriptor keeps them ("modulation").
SatelliteCodes satellite_codes(int32_t modulation_bits, int32_t FEC_inner);
Delivery satellite_delivery(const SatelliteCodes& codes);

struct CableCodes {
    int32_t modulation = 0;
    int32_t FEC_inner = 0;
};
Delivery cable_delivery(const CableCodes& codes);

struct TerrestrialCodes {
    int32_t bandwidth = 0;
    int32_t constellation = 0;
    int32_t hierarchy_information = 0;
    int32_t code_rate_HP_stream = 0;
    int32_t code_rate_LP_stream = 0;
    int32_t guard_interval = 0;
    int32_t transmission_mode = 0;
};
Delivery terrestrial_delivery(const TerrestrialCodes& codes);

struct T2Codes {
    int32_t plp_id = 0;
    int32_t bandwidth = absent;  // absent in the short form, which names only the PLP
    int32_t guard_interval = absent;
    int32_t transmission_mode = absent;
};
Delivery t2_delivery(const T2Codes& codes);

// One field each.
RollOff roll_off_of(int32_t roll_off);
CodeRate fec_inner_of(int32_t FEC_inner);
Modulation cable_modulation_of(int32_t modulation);
int32_t bandwidth_hz_of(int32_t bandwidth);  // 0x5A's and T2's codes; -1 for a reserved one
GuardInterval guard_interval_of(int32_t guard_interval);
TransmissionMode transmission_mode_of(int32_t transmission_mode, bool t2);

}  // namespace lib13818
