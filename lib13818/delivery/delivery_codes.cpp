#include "lib13818/delivery/delivery_codes.h"

namespace lib13818 {

namespace {

// table[code] when the table has that entry, else the automatic value.
template <class Code, std::size_t N>
Code entry(const Code (&table)[N], int32_t code) {
    return code >= 0 && code < static_cast<int32_t>(N) ? table[code] : Code::automatic;
}

constexpr RollOff roll_offs[] = {RollOff::r0_35, RollOff::r0_25, RollOff::r0_20};
constexpr Modulation satellite_modulations[] = {Modulation::automatic, Modulation::qpsk, Modulation::psk_8,
                                                Modulation::qam_16};
constexpr CodeRate fec_inners[] = {CodeRate::automatic, CodeRate::r1_2, CodeRate::r2_3, CodeRate::r3_4,
                                   CodeRate::r5_6,      CodeRate::r7_8, CodeRate::r8_9, CodeRate::r3_5,
                                   CodeRate::r4_5,      CodeRate::r9_10};
constexpr int32_t fec_inner_none = 15;
constexpr Modulation cable_modulations[] = {Modulation::automatic, Modulation::qam_16,  Modulation::qam_32,
                                            Modulation::qam_64,    Modulation::qam_128, Modulation::qam_256};
constexpr Modulation constellations[] = {Modulation::qpsk, Modulation::qam_16, Modulation::qam_64};
constexpr Hierarchy hierarchies[] = {Hierarchy::none, Hierarchy::a1, Hierarchy::a2, Hierarchy::a4};
constexpr CodeRate terrestrial_code_rates[] = {CodeRate::r1_2, CodeRate::r2_3, CodeRate::r3_4, CodeRate::r5_6,
                                               CodeRate::r7_8};
constexpr GuardInterval guard_intervals[] = {
    GuardInterval::g1_32,  GuardInterval::g1_16,   GuardInterval::g1_8,   GuardInterval::g1_4,
    GuardInterval::g1_128, GuardInterval::g19_128, GuardInterval::g19_256};
constexpr TransmissionMode transmission_modes[] = {TransmissionMode::m2k,  TransmissionMode::m8k,
                                                   TransmissionMode::m4k,  TransmissionMode::m1k,
                                                   TransmissionMode::m16k, TransmissionMode::m32k};
constexpr int32_t terrestrial_transmission_modes = 3;  // 0x5A knows 2k, 8k and 4k
constexpr int32_t bandwidths[] = {8000000, 7000000, 6000000, 5000000, 10000000, 1712000};

constexpr int32_t dvb_s2_system = 1;
constexpr int32_t hierarchy_alpha_bits = 3;  // the in-depth interleaver bit above does not tune

bool only_dvb_s2_has(Modulation modulation, RollOff roll_off, CodeRate fec) {
    return modulation == Modulation::psk_8 || roll_off == RollOff::r0_25 || roll_off == RollOff::r0_20 ||
           fec == CodeRate::r3_5 || fec == CodeRate::r4_5 || fec == CodeRate::r9_10;
}

}  // namespace

RollOff roll_off_of(int32_t roll_off) {
    return entry(roll_offs, roll_off);
}

CodeRate fec_inner_of(int32_t FEC_inner) {
    return FEC_inner == fec_inner_none ? CodeRate::none : entry(fec_inners, FEC_inner);
}

Modulation cable_modulation_of(int32_t modulation) {
    return entry(cable_modulations, modulation);
}

int32_t bandwidth_hz_of(int32_t bandwidth) {
    return bandwidth >= 0 && bandwidth < static_cast<int32_t>(std::size(bandwidths)) ? bandwidths[bandwidth]
                                                                                     : automatic;
}

GuardInterval guard_interval_of(int32_t guard_interval) {
    return entry(guard_intervals, guard_interval);
}

TransmissionMode transmission_mode_of(int32_t transmission_mode, bool t2) {
    if (!t2 && transmission_mode >= terrestrial_transmission_modes) return TransmissionMode::automatic;
    return entry(transmission_modes, transmission_mode);
}

SatelliteCodes satellite_codes(int32_t modulation_bits, int32_t FEC_inner) {
    SatelliteCodes codes;
    codes.roll_off = (modulation_bits >> 3) & 3;
    codes.modulation_system = (modulation_bits >> 2) & 1;
    codes.modulation_type = modulation_bits & 3;
    codes.FEC_inner = FEC_inner;
    return codes;
}

Delivery satellite_delivery(const SatelliteCodes& codes) {
    Delivery d;
    d.modulation = entry(satellite_modulations, codes.modulation_type);
    d.code_rate_hp = fec_inner_of(codes.FEC_inner);
    const RollOff roll_off = roll_off_of(codes.roll_off);
    const bool s2 =
        codes.modulation_system == dvb_s2_system || only_dvb_s2_has(d.modulation, roll_off, d.code_rate_hp);
    d.system = s2 ? DeliverySystem::dvb_s2 : DeliverySystem::dvb_s;
    // The roll-off field means something for DVB-S2 only; DVB-S is always 0.35.
    if (s2) d.roll_off = roll_off;
    if (codes.input_stream_identifier != absent) d.stream_id = codes.input_stream_identifier;
    if (codes.scrambling_sequence_index != absent) d.scrambling_index = codes.scrambling_sequence_index;
    return d;
}

Delivery cable_delivery(const CableCodes& codes) {
    Delivery d;
    d.system = DeliverySystem::dvb_c;
    d.modulation = cable_modulation_of(codes.modulation);
    d.code_rate_hp = fec_inner_of(codes.FEC_inner);
    return d;
}

Delivery terrestrial_delivery(const TerrestrialCodes& codes) {
    Delivery d;
    d.system = DeliverySystem::dvb_t;
    // 0x5A knows only the first four bandwidths.
    d.bandwidth_hz = codes.bandwidth < 4 ? bandwidth_hz_of(codes.bandwidth) : automatic;
    d.modulation = entry(constellations, codes.constellation);
    d.hierarchy = entry(hierarchies, codes.hierarchy_information & hierarchy_alpha_bits);
    d.code_rate_hp = entry(terrestrial_code_rates, codes.code_rate_HP_stream);
    // Without hierarchy the LP stream does not exist: its code rate is none, not a guess.
    d.code_rate_lp = d.hierarchy == Hierarchy::none
                         ? CodeRate::none
                         : entry(terrestrial_code_rates, codes.code_rate_LP_stream);
    d.guard_interval =
        codes.guard_interval < 4 ? guard_interval_of(codes.guard_interval) : GuardInterval::automatic;
    d.transmission_mode = transmission_mode_of(codes.transmission_mode, false);
    return d;
}

Delivery t2_delivery(const T2Codes& codes) {
    Delivery d;
    d.system = DeliverySystem::dvb_t2;
    d.stream_id = codes.plp_id;
    d.bandwidth_hz = bandwidth_hz_of(codes.bandwidth);
    d.guard_interval = guard_interval_of(codes.guard_interval);
    d.transmission_mode = transmission_mode_of(codes.transmission_mode, true);
    return d;
}

}  // namespace lib13818
