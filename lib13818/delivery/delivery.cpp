#include "lib13818/delivery/delivery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

namespace lib13818 {

namespace {

constexpr Named<DeliverySystem> system_names[] = {
    {DeliverySystem::automatic, "auto"}, {DeliverySystem::dvb_s, "DVB-S"},
    {DeliverySystem::dvb_s2, "DVB-S2"},  {DeliverySystem::dvb_t, "DVB-T"},
    {DeliverySystem::dvb_t2, "DVB-T2"},  {DeliverySystem::dvb_c, "DVB-C"},
};
constexpr Named<Modulation> modulation_names[] = {
    {Modulation::automatic, "auto"}, {Modulation::qpsk, "QPSK"},      {Modulation::psk_8, "8PSK"},
    {Modulation::apsk_16, "16APSK"}, {Modulation::apsk_32, "32APSK"}, {Modulation::qam_16, "QAM16"},
    {Modulation::qam_32, "QAM32"},   {Modulation::qam_64, "QAM64"},   {Modulation::qam_128, "QAM128"},
    {Modulation::qam_256, "QAM256"},
};
constexpr Named<RollOff> roll_off_names[] = {{RollOff::automatic, "auto"},
                                             {RollOff::r0_35, "0.35"},
                                             {RollOff::r0_25, "0.25"},
                                             {RollOff::r0_20, "0.20"}};
constexpr Named<Pilot> pilot_names[] = {{Pilot::automatic, "auto"}, {Pilot::on, "on"}, {Pilot::off, "off"}};
constexpr Named<CodeRate> code_rate_names[] = {
    {CodeRate::automatic, "auto"}, {CodeRate::r1_2, "1/2"},   {CodeRate::r2_3, "2/3"},
    {CodeRate::r3_4, "3/4"},       {CodeRate::r5_6, "5/6"},   {CodeRate::r7_8, "7/8"},
    {CodeRate::r3_5, "3/5"},       {CodeRate::r4_5, "4/5"},   {CodeRate::r6_7, "6/7"},
    {CodeRate::r8_9, "8/9"},       {CodeRate::r9_10, "9/10"}, {CodeRate::none, "none"},
};
constexpr Named<GuardInterval> guard_names[] = {
    {GuardInterval::automatic, "auto"}, {GuardInterval::g1_4, "1/4"},       {GuardInterval::g1_8, "1/8"},
    {GuardInterval::g1_16, "1/16"},     {GuardInterval::g1_32, "1/32"},     {GuardInterval::g1_128, "1/128"},
    {GuardInterval::g19_128, "19/128"}, {GuardInterval::g19_256, "19/256"},
};
constexpr Named<TransmissionMode> transmission_names[] = {
    {TransmissionMode::automatic, "auto"}, {TransmissionMode::m1k, "1k"}, {TransmissionMode::m2k, "2k"},
    {TransmissionMode::m4k, "4k"},         {TransmissionMode::m8k, "8k"}, {TransmissionMode::m16k, "16k"},
    {TransmissionMode::m32k, "32k"},
};
constexpr Named<Hierarchy> hierarchy_names[] = {{Hierarchy::automatic, "auto"},
                                                {Hierarchy::none, "none"},
                                                {Hierarchy::a1, "1"},
                                                {Hierarchy::a2, "2"},
                                                {Hierarchy::a4, "4"}};

bool same_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr std::string_view qam_prefix = "QAM";

}  // namespace

bool is_satellite(DeliverySystem system) {
    return system == DeliverySystem::dvb_s || system == DeliverySystem::dvb_s2;
}
bool is_terrestrial(DeliverySystem system) {
    return system == DeliverySystem::dvb_t || system == DeliverySystem::dvb_t2;
}
bool is_second_generation(DeliverySystem system) {
    return system == DeliverySystem::dvb_s2 || system == DeliverySystem::dvb_t2;
}

std::span<const Named<DeliverySystem>> names(DeliverySystem) {
    return system_names;
}
std::span<const Named<Modulation>> names(Modulation) {
    return modulation_names;
}
std::span<const Named<RollOff>> names(RollOff) {
    return roll_off_names;
}
std::span<const Named<Pilot>> names(Pilot) {
    return pilot_names;
}
std::span<const Named<CodeRate>> names(CodeRate) {
    return code_rate_names;
}
std::span<const Named<GuardInterval>> names(GuardInterval) {
    return guard_names;
}
std::span<const Named<TransmissionMode>> names(TransmissionMode) {
    return transmission_names;
}
std::span<const Named<Hierarchy>> names(Hierarchy) {
    return hierarchy_names;
}

template <class Code>
bool parse(std::string_view text, Code& out) {
    for (const Named<Code>& n : names(Code{})) {
        std::string_view name = n.name;
        const bool matches = same_ignoring_case(text, name) ||
                             (name.starts_with(qam_prefix) && text == name.substr(qam_prefix.size()));
        if (matches) {
            out = n.value;
            return true;
        }
    }
    return false;
}

template bool parse(std::string_view, DeliverySystem&);
template bool parse(std::string_view, Modulation&);
template bool parse(std::string_view, RollOff&);
template bool parse(std::string_view, Pilot&);
template bool parse(std::string_view, CodeRate&);
template bool parse(std::string_view, GuardInterval&);
template bool parse(std::string_view, TransmissionMode&);
template bool parse(std::string_view, Hierarchy&);

std::string bandwidth_name(int32_t bandwidth_hz) {
    if (bandwidth_hz <= 0) return "auto";
    char text[32];
    // Whole MHz as "8 MHz"; the rest with their kHz, "1.712 MHz".
    if (bandwidth_hz % 1000000 == 0)
        std::snprintf(text, sizeof text, "%d MHz", static_cast<int>(bandwidth_hz / 1000000));
    else
        std::snprintf(text, sizeof text, "%.3f MHz", bandwidth_hz / 1e6);
    return text;
}

bool parse_bandwidth(std::string_view mhz, int32_t& bandwidth_hz) {
    if (same_ignoring_case(mhz, "auto")) {
        bandwidth_hz = automatic;
        return true;
    }
    for (const int32_t hz : bandwidths_hz) {
        const std::string name = bandwidth_name(hz);
        if (mhz == std::string_view(name).substr(0, name.size() - std::string_view(" MHz").size())) {
            bandwidth_hz = hz;
            return true;
        }
    }
    return false;
}

int32_t gold_index_of_root(int32_t root_code) {
    // The root code runs through the scrambling sequence's register; the Gold index is the
    // number of steps that reach it.
    constexpr int32_t sequence_length = 0x3FFFF;
    uint32_t x = 1;
    for (int32_t gold = 0; gold < sequence_length; ++gold) {
        if (x == static_cast<uint32_t>(root_code)) return gold;
        x = (((x ^ (x >> 7)) & 1) << 17) | (x >> 1);
    }
    return automatic;
}

}  // namespace lib13818
