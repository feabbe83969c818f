#pragma once

// How a transport stream is delivered beyond frequency, polarisation and symbol rate: the
// delivery system and the modulation parameters of DVB-S, DVB-S2, DVB-T, DVB-T2 and DVB-C.
//
// The record travels with every tuning (TUNERPARM, the card's ChannelRecord), is read back
// from the card, kept in the settings and filed with each scanned transport stream. Every
// field has an "automatic" value (-1): the frontend finds it out, or for stream_id and
// scrambling_index, none is named. A record of automatic values tunes as the seed's tuning
// words say, so callers that fill only those words behave as before.
//
// The numbers of the coded fields are this program's own, chosen to read well in a settings
// file (a code rate 2/3 is 23, a guard interval 1/8 is 8, a roll-off 0.20 is 20) and kept as
// they are here: they are what the settings store holds. Two mappings translate them:
//   - lib13818/delivery/delivery_codes.h: the coded values of the NIT's delivery descriptors
//     (0x43 with 0x79, 0x44, 0x5A, the T2 extension) to this record;
//   - device/linux/delivery_properties.h: this record to the Linux DVB API's properties.
// Neither order matches the other (descriptor roll-off 1 is 0.25, the kernel's ROLLOFF_25 is
// 2), which is why both go through the record and never from one to the other directly.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lib13818 {

inline constexpr int32_t automatic = -1;

// "DVB-C" is annex A: the descriptors do not tell the annexes apart.
enum class DeliverySystem : int32_t {
    automatic = -1,
    dvb_s = 1,
    dvb_c = 2,
    dvb_t = 3,
    dvb_s2 = 4,
    dvb_t2 = 5
};

enum class Modulation : int32_t {
    automatic = -1,
    qpsk = 2,
    psk_8 = 5,
    apsk_16 = 6,
    apsk_32 = 7,
    qam_16 = 16,
    qam_32 = 32,
    qam_64 = 64,
    qam_128 = 128,
    qam_256 = 256,
};

enum class RollOff : int32_t { automatic = -1, r0_35 = 35, r0_25 = 25, r0_20 = 20 };

enum class Pilot : int32_t { automatic = -1, off = 0, on = 1 };

// Inner FEC of DVB-S/S2/C and the code rates of DVB-T/T2.
enum class CodeRate : int32_t {
    automatic = -1,
    none = 0,
    r1_2 = 12,
    r2_3 = 23,
    r3_4 = 34,
    r3_5 = 35,
    r4_5 = 45,
    r5_6 = 56,
    r6_7 = 67,
    r7_8 = 78,
    r8_9 = 89,
    r9_10 = 910,
};

enum class GuardInterval : int32_t {
    automatic = -1,
    g1_4 = 4,
    g1_8 = 8,
    g1_16 = 16,
    g1_32 = 32,
    g1_128 = 128,
    g19_128 = 19128,
    g19_256 = 19256,
};

enum class TransmissionMode : int32_t {
    automatic = -1,
    m1k = 1,
    m2k = 2,
    m4k = 4,
    m8k = 8,
    m16k = 16,
    m32k = 32
};

// The hierarchy's alpha: none (non-hierarchical), 1, 2 or 4.
enum class Hierarchy : int32_t { automatic = -1, none = 0, a1 = 1, a2 = 2, a4 = 4 };

struct Delivery {
    DeliverySystem system = DeliverySystem::automatic;
    Modulation modulation = Modulation::automatic;
    RollOff roll_off = RollOff::automatic;  // DVB-S2
    Pilot pilot = Pilot::automatic;         // DVB-S2
    int32_t stream_id = automatic;          // DVB-S2 input stream (0..255), DVB-T2 PLP (0..255); -1 none
    int32_t scrambling_index = automatic;   // DVB-S2 Gold code index 0..262142; -1 none (index 0)
    int32_t bandwidth_hz = automatic;       // DVB-T/T2
    CodeRate code_rate_hp = CodeRate::automatic;
    CodeRate code_rate_lp = CodeRate::automatic;  // DVB-T
    GuardInterval guard_interval = GuardInterval::automatic;
    TransmissionMode transmission_mode = TransmissionMode::automatic;
    Hierarchy hierarchy = Hierarchy::automatic;

    friend bool operator==(const Delivery&, const Delivery&) = default;
};

inline constexpr int32_t max_stream_id = 255;
inline constexpr int32_t max_scrambling_index = 262142;
// The channel bandwidths a tuning may name, in Hz.
inline constexpr int32_t bandwidths_hz[] = {1712000, 5000000, 6000000, 7000000, 8000000, 10000000};

// Which generation and which family of signal a system is.
bool is_satellite(DeliverySystem system);
bool is_terrestrial(DeliverySystem system);
bool is_second_generation(DeliverySystem system);

// A coded value and its name: "DVB-S2", "8PSK", "QAM256", "0.20", "on", "2/3", "1/8", "8k",
// "none"; "auto" for the automatic value. Each list holds every value, automatic first.
template <class Code>
struct Named {
    Code value;
    const char* name;
};
std::span<const Named<DeliverySystem>> names(DeliverySystem);
std::span<const Named<Modulation>> names(Modulation);
std::span<const Named<RollOff>> names(RollOff);
std::span<const Named<Pilot>> names(Pilot);
std::span<const Named<CodeRate>> names(CodeRate);
std::span<const Named<GuardInterval>> names(GuardInterval);
std::span<const Named<TransmissionMode>> names(TransmissionMode);
std::span<const Named<Hierarchy>> names(Hierarchy);

// The name of a value; "auto" for a number outside the list (a value read from a settings
// file need not be one of ours).
template <class Code>
const char* name(Code value) {
    for (const Named<Code>& n : names(Code{}))
        if (n.value == value) return n.name;
    return "auto";
}

// The value a settings file's integer stands for; automatic for a number that is none.
template <class Code>
Code code_of(int32_t number) {
    for (const Named<Code>& n : names(Code{}))
        if (static_cast<int32_t>(n.value) == number) return n.value;
    return Code::automatic;
}

// Reads a value by its name, ignoring case; a QAM modulation also by its order alone ("64").
// False for a text that names none.
template <class Code>
bool parse(std::string_view text, Code& out);

// "8 MHz", "1.712 MHz"; "auto" for the automatic value.
std::string bandwidth_name(int32_t bandwidth_hz);
// Reads "8", "1.712" or "auto" (MHz) into Hz; false for a bandwidth not in bandwidths_hz.
bool parse_bandwidth(std::string_view mhz, int32_t& bandwidth_hz);

// The Gold code index of a DVB-S2 physical layer scrambling root code (1..262143 as the
// older root form gives it); -1 for a root code the sequence never reaches.
int32_t gold_index_of_root(int32_t root_code);

}  // namespace lib13818
