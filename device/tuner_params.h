#pragma once

#include <cstdint>
#include <optional>

#include "lib13818/delivery/delivery.h"

namespace kestrel {

// Tuner parameters by frontend type; what each word means:
//   field      DVB-S (type 1)                  DVB-C (type 2)           DVB-T (type 3)
//   frequency  GHz (transponder, not IF)       MHz                      MHz
//   word_a     polarisation 0 H, 1 V,          inversion 0 off,         inversion 0 off,
//              2 circular left, 3 right        non-zero on              non-zero on
//   word_b     FEC (logged only; read back -1) symbol rate, symbols/s   low byte: a flag, unused
//   word_c     symbol rate: symbols/s tuning,  modulation 1..5          bandwidth: 1 7 MHz,
//              kilosymbols/s read back         (16..256-QAM)            2 8 MHz, 3 automatic
//   word_d     DiSEqC position 0..3            bandwidth (as DVB-T)     unused
//   word_e     12 V output requested (0/1)     unused                   unused
//   word_f     inversion setting (unused)      unused                   unused
// `delivery` names the delivery system and its parameters (lib13818/delivery/delivery.h). Its
// fields are automatic unless a caller names them; a field named overrides the word for the
// same thing (DVB-C modulation, DVB-T bandwidth), one left automatic leaves the word in force.
struct TUNERPARM {
    std::uint32_t type = 0;
    double frequency = 0.0;
    std::int32_t word_a = 0;
    std::int32_t word_b = 0;
    std::uint32_t word_c = 0;
    std::uint32_t word_d = 0;
    std::int32_t word_e = 0;
    std::int32_t word_f = 0;
    lib13818::Delivery delivery{};

    friend bool operator==(const TUNERPARM&, const TUNERPARM&) = default;
};

// The seed's words in terms of the delivery record, both ways: the DVB-C QAM word (1..5 for
// 16..256-QAM) and the bandwidth code (1 7 MHz, 2 8 MHz, 3 automatic). A word without a
// value in the record gives automatic; a value without a word gives none.
lib13818::Modulation modulation_of_qam_word(std::uint32_t word);
std::optional<std::uint32_t> qam_word_of(lib13818::Modulation modulation);
std::int32_t bandwidth_hz_of_code(std::uint32_t code);
std::optional<std::uint32_t> bandwidth_code_of(std::int32_t bandwidth_hz);

// DiSEqC modes of the LNB configuration.
namespace diseqc_mode {
inline constexpr std::uint32_t none = 0;        // a reset to every device, once
inline constexpr std::uint32_t tone_burst = 1;  // "Simple (tone burst)": positions 0 and 1
inline constexpr std::uint32_t committed = 2;   // "Version 1.0": committed switch, positions 0..3
}  // namespace diseqc_mode

// The LNB and DiSEqC configuration DVB-S tuning uses (all zero until the settings copy
// theirs in; the settings' defaults are mode 0, 9750000, 10600000, 11700000, power on).
struct LnbConfig {
    std::uint32_t diseqc_mode = 0;
    std::uint32_t lof1 = 0;        // kHz, low band
    std::uint32_t lof2 = 0;        // kHz, high band
    std::uint32_t switch_khz = 0;  // first frequency of the high band
    bool lnb_power = false;
};

}  // namespace kestrel
