#include "device/linux/delivery_properties.h"

#include <algorithm>
#include <span>

#include "device/linux/delivery_systems.h"
#include "device/tuner_params.h"
#include "log/event_log.h"

namespace kestrel {

namespace {

using lib13818::CodeRate;
using lib13818::DeliverySystem;
using lib13818::GuardInterval;
using lib13818::Hierarchy;
using lib13818::Modulation;
using lib13818::Pilot;
using lib13818::RollOff;
using lib13818::TransmissionMode;

template <class Code>
struct kernel_code {
    Code value;
    std::uint32_t kernel;
};

constexpr kernel_code<DeliverySystem> systems[] = {
    {DeliverySystem::dvb_s, SYS_DVBS},          {DeliverySystem::dvb_s2, SYS_DVBS2},
    {DeliverySystem::dvb_t, SYS_DVBT},          {DeliverySystem::dvb_t2, SYS_DVBT2},
    {DeliverySystem::dvb_c, SYS_DVBC_ANNEX_A},  {DeliverySystem::dvb_c, SYS_DVBC_ANNEX_C},
    {DeliverySystem::automatic, SYS_UNDEFINED},
};
constexpr kernel_code<Modulation> modulations[] = {
    {Modulation::qpsk, QPSK},          {Modulation::psk_8, PSK_8},     {Modulation::apsk_16, APSK_16},
    {Modulation::apsk_32, APSK_32},    {Modulation::qam_16, QAM_16},   {Modulation::qam_32, QAM_32},
    {Modulation::qam_64, QAM_64},      {Modulation::qam_128, QAM_128}, {Modulation::qam_256, QAM_256},
    {Modulation::automatic, QAM_AUTO},
};
constexpr kernel_code<RollOff> roll_offs[] = {{RollOff::r0_35, ROLLOFF_35},
                                              {RollOff::r0_20, ROLLOFF_20},
                                              {RollOff::r0_25, ROLLOFF_25},
                                              {RollOff::automatic, ROLLOFF_AUTO}};
constexpr kernel_code<Pilot> pilots[] = {
    {Pilot::on, PILOT_ON}, {Pilot::off, PILOT_OFF}, {Pilot::automatic, PILOT_AUTO}};
constexpr kernel_code<CodeRate> code_rates[] = {
    {CodeRate::none, FEC_NONE}, {CodeRate::r1_2, FEC_1_2},   {CodeRate::r2_3, FEC_2_3},
    {CodeRate::r3_4, FEC_3_4},  {CodeRate::r4_5, FEC_4_5},   {CodeRate::r5_6, FEC_5_6},
    {CodeRate::r6_7, FEC_6_7},  {CodeRate::r7_8, FEC_7_8},   {CodeRate::r8_9, FEC_8_9},
    {CodeRate::r3_5, FEC_3_5},  {CodeRate::r9_10, FEC_9_10}, {CodeRate::automatic, FEC_AUTO},
};
constexpr kernel_code<TransmissionMode> transmission_modes[] = {
    {TransmissionMode::m2k, TRANSMISSION_MODE_2K},         {TransmissionMode::m8k, TRANSMISSION_MODE_8K},
    {TransmissionMode::m4k, TRANSMISSION_MODE_4K},         {TransmissionMode::m1k, TRANSMISSION_MODE_1K},
    {TransmissionMode::m16k, TRANSMISSION_MODE_16K},       {TransmissionMode::m32k, TRANSMISSION_MODE_32K},
    {TransmissionMode::automatic, TRANSMISSION_MODE_AUTO},
};
constexpr kernel_code<GuardInterval> guard_intervals[] = {
    {GuardInterval::g1_32, GUARD_INTERVAL_1_32},     {GuardInterval::g1_16, GUARD_INTERVAL_1_16},
    {GuardInterval::g1_8, GUARD_INTERVAL_1_8},       {GuardInterval::g1_4, GUARD_INTERVAL_1_4},
    {GuardInterval::g1_128, GUARD_INTERVAL_1_128},   {GuardInterval::g19_128, GUARD_INTERVAL_19_128},
    {GuardInterval::g19_256, GUARD_INTERVAL_19_256}, {GuardInterval::automatic, GUARD_INTERVAL_AUTO},
};
constexpr kernel_code<Hierarchy> hierarchies[] = {{Hierarchy::none, HIERARCHY_NONE},
                                                  {Hierarchy::a1, HIERARCHY_1},
                                                  {Hierarchy::a2, HIERARCHY_2},
                                                  {Hierarchy::a4, HIERARCHY_4},
                                                  {Hierarchy::automatic, HIERARCHY_AUTO}};

std::span<const kernel_code<DeliverySystem>> table(DeliverySystem) {
    return systems;
}
std::span<const kernel_code<Modulation>> table(Modulation) {
    return modulations;
}
std::span<const kernel_code<RollOff>> table(RollOff) {
    return roll_offs;
}
std::span<const kernel_code<Pilot>> table(Pilot) {
    return pilots;
}
std::span<const kernel_code<CodeRate>> table(CodeRate) {
    return code_rates;
}
std::span<const kernel_code<TransmissionMode>> table(TransmissionMode) {
    return transmission_modes;
}
std::span<const kernel_code<GuardInterval>> table(GuardInterval) {
    return guard_intervals;
}
std::span<const kernel_code<Hierarchy>> table(Hierarchy) {
    return hierarchies;
}

// Older headers lack the scrambling property; its number is fixed.
#ifdef DTV_SCRAMBLING_SEQUENCE_INDEX
constexpr std::uint32_t scrambling_sequence_index = DTV_SCRAMBLING_SEQUENCE_INDEX;
#else
constexpr std::uint32_t scrambling_sequence_index = 70;
#endif
constexpr std::uint32_t legacy_pls_shift = 8;
constexpr std::uint32_t legacy_pls_mask = 0x3FFFF;
constexpr std::uint32_t legacy_gold_mode = 1u << 26;
constexpr std::uint32_t legacy_isi_mask = 0xFF;

constexpr fe_modulation cable_word_modulations[] = {QAM_16, QAM_32, QAM_64, QAM_128, QAM_256};
constexpr std::uint32_t unknown_modulation_code = 0xFF;

std::uint32_t inversion_of(std::uint32_t code) {
    return code == 0 ? INVERSION_OFF : code == 1 ? INVERSION_ON : INVERSION_AUTO;
}
std::uint32_t inversion_code(std::uint32_t inversion) {
    return inversion == INVERSION_OFF ? 0 : inversion == INVERSION_ON ? 1 : 2;
}
std::uint32_t modulation_code(std::uint32_t modulation) {
    const auto* it =
        std::find(std::begin(cable_word_modulations), std::end(cable_word_modulations), modulation);
    return it == std::end(cable_word_modulations)
               ? unknown_modulation_code
               : static_cast<std::uint32_t>(it - std::begin(cable_word_modulations));
}
// The channel record's bandwidth codes in Hz; 0 is the kernel's automatic bandwidth.
std::uint32_t bandwidth_of_code(std::uint32_t code) {
    const std::int32_t hz = bandwidth_hz_of_code(code);
    return hz == lib13818::automatic ? 0 : static_cast<std::uint32_t>(hz);
}
std::uint32_t bandwidth_code(std::uint32_t hz) {
    constexpr std::uint32_t automatic_code = 3;
    return bandwidth_code_of(static_cast<std::int32_t>(hz)).value_or(automatic_code);
}

bool is_qam(Modulation m) {
    return qam_word_of(m).has_value();
}

std::uint32_t stream_of(std::int32_t stream_id) {
    return stream_id == lib13818::automatic ? NO_STREAM_ID_FILTER : static_cast<std::uint32_t>(stream_id);
}

// A DVB-T parameter the frontend cannot find out itself, when the record leaves it open.
// A DVB-T2 demodulator reads everything but the bandwidth from the signal itself.
struct common_value {
    std::uint32_t can_auto;  // FE_CAN_..._AUTO
    std::uint32_t value;
    const char* what;
    bool t2_finds_out;
};
constexpr common_value common_bandwidth{FE_CAN_BANDWIDTH_AUTO, 8000000, "bandwidth", false};
constexpr common_value common_code_rate_hp{FE_CAN_FEC_AUTO, FEC_2_3, "code rate", true};
constexpr common_value common_code_rate_lp{FE_CAN_FEC_AUTO, FEC_NONE, "LP code rate", true};
constexpr common_value common_modulation{FE_CAN_QAM_AUTO, QAM_64, "modulation", true};
constexpr common_value common_transmission_mode{FE_CAN_TRANSMISSION_MODE_AUTO, TRANSMISSION_MODE_8K,
                                                "transmission mode", true};
constexpr common_value common_guard_interval{FE_CAN_GUARD_INTERVAL_AUTO, GUARD_INTERVAL_1_4, "guard interval",
                                             true};
constexpr common_value common_hierarchy{FE_CAN_HIERARCHY_AUTO, HIERARCHY_NONE, "hierarchy", true};

// `value` unless it is the automatic one and the frontend cannot take that.
std::uint32_t terrestrial_value(std::uint32_t value, std::uint32_t automatic, const common_value& common,
                                const frontend_facts& frontend) {
    const bool finds_out =
        (frontend.caps & common.can_auto) != 0 || (common.t2_finds_out && frontend.system == SYS_DVBT2);
    if (value != automatic || finds_out) return value;
    event_log(2, "Frontend cannot find out the %s itself: tuning %u", common.what, common.value);
    return common.value;
}

void add_satellite(std::vector<dtv_property>& list, const ChannelRecord& record,
                   const frontend_facts& frontend) {
    const auto& w = record.word;
    const lib13818::Delivery& d = record.delivery;
    // The frontend tunes the intermediate frequency, the distance to the oscillator.
    const std::uint32_t f = w[channel_word::frequency], lof = w[channel_word::lof];
    list.insert(list.end(), {property(DTV_FREQUENCY, f > lof ? f - lof : lof - f),
                             property(DTV_SYMBOL_RATE, w[channel_word::symbol_rate]),
                             property(DTV_INNER_FEC, kernel_value(d.code_rate_hp)),
                             property(DTV_INVERSION, inversion_of(w[channel_word::inversion]))});
    if (frontend.system != SYS_DVBS2) return;
    list.insert(list.end(), {property(DTV_MODULATION, kernel_value(d.modulation)),
                             property(DTV_ROLLOFF, kernel_value(d.roll_off)),
                             property(DTV_PILOT, kernel_value(d.pilot))});
    const std::uint32_t gold =
        d.scrambling_index == lib13818::automatic ? 0 : static_cast<std::uint32_t>(d.scrambling_index);
    if (frontend.api_version >= scrambling_index_api) {
        list.push_back(property(DTV_STREAM_ID, stream_of(d.stream_id)));
        list.push_back(property(scrambling_sequence_index, gold));
    } else if (gold == 0) {
        list.push_back(property(DTV_STREAM_ID, stream_of(d.stream_id)));
    } else {
        const std::uint32_t isi =
            d.stream_id == lib13818::automatic ? 0 : static_cast<std::uint32_t>(d.stream_id);
        list.push_back(property(DTV_STREAM_ID, isi | gold << legacy_pls_shift | legacy_gold_mode));
    }
}

bool add_cable(std::vector<dtv_property>& list, const ChannelRecord& record) {
    const auto& w = record.word;
    const lib13818::Delivery& d = record.delivery;
    const std::uint32_t m = w[channel_word::modulation];
    if (w[channel_word::frequency] > UINT32_MAX / 1000 ||
        (!is_qam(d.modulation) && m >= std::size(cable_word_modulations)))
        return false;
    const std::uint32_t modulation = is_qam(d.modulation)
                                         ? kernel_value(d.modulation)
                                         : static_cast<std::uint32_t>(cable_word_modulations[m]);
    list.insert(list.end(),
                {property(DTV_FREQUENCY, w[channel_word::frequency] * 1000),
                 property(DTV_SYMBOL_RATE, w[channel_word::symbol_rate]),
                 property(DTV_MODULATION, modulation), property(DTV_INNER_FEC, kernel_value(d.code_rate_hp)),
                 property(DTV_INVERSION, inversion_of(w[channel_word::inversion]))});
    return true;
}

bool add_terrestrial(std::vector<dtv_property>& list, const ChannelRecord& record,
                     const frontend_facts& frontend) {
    const auto& w = record.word;
    const lib13818::Delivery& d = record.delivery;
    if (w[channel_word::frequency] > UINT32_MAX / 1000) return false;
    const std::uint32_t bandwidth = d.bandwidth_hz != lib13818::automatic
                                        ? static_cast<std::uint32_t>(d.bandwidth_hz)
                                        : bandwidth_of_code(w[channel_word::bandwidth]);
    const auto value = [&](std::uint32_t v, std::uint32_t automatic, const common_value& common) {
        return terrestrial_value(v, automatic, common, frontend);
    };
    list.insert(
        list.end(),
        {property(DTV_FREQUENCY, w[channel_word::frequency] * 1000),
         property(DTV_BANDWIDTH_HZ, value(bandwidth, 0, common_bandwidth)),
         property(DTV_INVERSION, inversion_of(w[channel_word::inversion])),
         property(DTV_CODE_RATE_HP, value(kernel_value(d.code_rate_hp), FEC_AUTO, common_code_rate_hp)),
         property(DTV_CODE_RATE_LP, value(kernel_value(d.code_rate_lp), FEC_AUTO, common_code_rate_lp)),
         property(DTV_MODULATION, value(kernel_value(d.modulation), QAM_AUTO, common_modulation)),
         property(DTV_TRANSMISSION_MODE,
                  value(kernel_value(d.transmission_mode), TRANSMISSION_MODE_AUTO, common_transmission_mode)),
         property(DTV_GUARD_INTERVAL,
                  value(kernel_value(d.guard_interval), GUARD_INTERVAL_AUTO, common_guard_interval)),
         property(DTV_HIERARCHY, value(kernel_value(d.hierarchy), HIERARCHY_AUTO, common_hierarchy))});
    if (frontend.system == SYS_DVBT2) list.push_back(property(DTV_STREAM_ID, stream_of(d.stream_id)));
    return true;
}

// The value of `command` among the read-back values (0 when it was not asked).
std::uint32_t value_of(const std::vector<dtv_property>& values, std::uint32_t command) {
    const auto it =
        std::find_if(values.begin(), values.end(), [&](const dtv_property& p) { return p.cmd == command; });
    return it != values.end() ? it->u.data : 0;
}

std::int32_t stream_id_of(std::uint32_t stream) {
    return stream == NO_STREAM_ID_FILTER ? lib13818::automatic : static_cast<std::int32_t>(stream);
}

lib13818::Delivery delivery_from(const std::vector<dtv_property>& values, const frontend_facts& frontend) {
    lib13818::Delivery d;
    const auto value = [&](std::uint32_t command) { return value_of(values, command); };
    d.system = record_value<DeliverySystem>(value(DTV_DELIVERY_SYSTEM));
    switch (d.system) {
        case DeliverySystem::dvb_s2: {
            d.modulation = record_value<Modulation>(value(DTV_MODULATION));
            d.roll_off = record_value<RollOff>(value(DTV_ROLLOFF));
            d.pilot = record_value<Pilot>(value(DTV_PILOT));
            const std::uint32_t stream = value(DTV_STREAM_ID);
            if (frontend.api_version >= scrambling_index_api || stream == NO_STREAM_ID_FILTER) {
                d.stream_id = stream_id_of(stream);
                if (frontend.api_version >= scrambling_index_api)
                    d.scrambling_index = static_cast<std::int32_t>(value(scrambling_sequence_index));
            } else {
                d.stream_id = static_cast<std::int32_t>(stream & legacy_isi_mask);
                const auto code = static_cast<std::int32_t>(stream >> legacy_pls_shift & legacy_pls_mask);
                d.scrambling_index = stream & legacy_gold_mode ? code : lib13818::gold_index_of_root(code);
            }
            if (d.scrambling_index == 0) d.scrambling_index = lib13818::automatic;
            d.code_rate_hp = record_value<CodeRate>(value(DTV_INNER_FEC));
            break;
        }
        case DeliverySystem::dvb_s:
        case DeliverySystem::dvb_c:
            if (d.system == DeliverySystem::dvb_c)
                d.modulation = record_value<Modulation>(value(DTV_MODULATION));
            d.code_rate_hp = record_value<CodeRate>(value(DTV_INNER_FEC));
            break;
        case DeliverySystem::dvb_t:
        case DeliverySystem::dvb_t2: {
            const std::uint32_t bandwidth = value(DTV_BANDWIDTH_HZ);
            d.bandwidth_hz = bandwidth == 0 ? lib13818::automatic : static_cast<std::int32_t>(bandwidth);
            d.modulation = record_value<Modulation>(value(DTV_MODULATION));
            d.code_rate_hp = record_value<CodeRate>(value(DTV_CODE_RATE_HP));
            d.code_rate_lp = record_value<CodeRate>(value(DTV_CODE_RATE_LP));
            d.guard_interval = record_value<GuardInterval>(value(DTV_GUARD_INTERVAL));
            d.transmission_mode = record_value<TransmissionMode>(value(DTV_TRANSMISSION_MODE));
            d.hierarchy = record_value<Hierarchy>(value(DTV_HIERARCHY));
            if (d.system == DeliverySystem::dvb_t2) d.stream_id = stream_id_of(value(DTV_STREAM_ID));
            break;
        }
        default:
            break;
    }
    return d;
}

}  // namespace

dtv_property property(std::uint32_t command, std::uint32_t data) {
    dtv_property p{};
    p.cmd = command;
    p.u.data = data;
    return p;
}

std::vector<dtv_property> tuning_properties(const ChannelRecord& record, const frontend_facts& frontend) {
    std::vector<dtv_property> list{property(DTV_DELIVERY_SYSTEM, frontend.system), property(DTV_CLEAR)};
    switch (frontend_type_of_system(frontend.system)) {
        case frontend_dvb_s:
            add_satellite(list, record, frontend);
            break;
        case frontend_dvb_c:
            if (!add_cable(list, record)) return {};
            break;
        case frontend_dvb_t:
            if (!add_terrestrial(list, record, frontend)) return {};
            break;
        default:
            return {};
    }
    list.push_back(property(DTV_TUNE));
    return list;
}

std::vector<dtv_property> read_back_properties(const frontend_facts& frontend) {
    std::vector<dtv_property> list;
    for (const std::uint32_t command :
         {DTV_DELIVERY_SYSTEM, DTV_FREQUENCY, DTV_SYMBOL_RATE, DTV_INVERSION, DTV_MODULATION,
          DTV_BANDWIDTH_HZ, DTV_INNER_FEC, DTV_ROLLOFF, DTV_PILOT, DTV_STREAM_ID, DTV_CODE_RATE_HP,
          DTV_CODE_RATE_LP, DTV_GUARD_INTERVAL, DTV_TRANSMISSION_MODE, DTV_HIERARCHY})
        list.push_back(property(command));
    if (frontend.api_version >= scrambling_index_api) list.push_back(property(scrambling_sequence_index));
    return list;
}

ChannelRecord channel_from(const std::vector<dtv_property>& values, const ChannelRecord& last,
                           std::int32_t frontend_type, const frontend_facts& frontend) {
    const std::uint32_t frequency = value_of(values, DTV_FREQUENCY),
                        symbol_rate = value_of(values, DTV_SYMBOL_RATE);
    const std::uint32_t inversion = inversion_code(value_of(values, DTV_INVERSION));
    ChannelRecord record;
    auto& w = record.word;
    switch (frontend_type) {
        case frontend_dvb_s: {
            // Back from the intermediate frequency, on the side of the oscillator tuned to.
            const std::uint32_t lof = last.word[channel_word::lof];
            const bool below_lof = last.word[channel_word::frequency] < lof;
            w = {below_lof ? lof - frequency : frequency + lof,
                 inversion,
                 symbol_rate,
                 lof,
                 last.word[channel_word::tone],
                 last.word[channel_word::voltage],
                 0};
            break;
        }
        case frontend_dvb_c:
            w = {frequency / 1000,
                 inversion,
                 symbol_rate,
                 modulation_code(value_of(values, DTV_MODULATION)),
                 last.word[channel_word::cable_bandwidth],
                 0,
                 0};
            break;
        default:
            w = {frequency / 1000, inversion, 0, bandwidth_code(value_of(values, DTV_BANDWIDTH_HZ)), 0, 0, 0};
            break;
    }
    record.delivery = delivery_from(values, frontend);
    return record;
}

template <class Code>
std::uint32_t kernel_value(Code value) {
    const auto codes = table(value);
    const auto it = std::find_if(codes.begin(), codes.end(), [&](const auto& c) { return c.value == value; });
    return it != codes.end() ? it->kernel : kernel_value(Code::automatic);
}

template <class Code>
Code record_value(std::uint32_t kernel) {
    const auto codes = table(Code{});
    const auto it =
        std::find_if(codes.begin(), codes.end(), [&](const auto& c) { return c.kernel == kernel; });
    return it != codes.end() ? it->value : Code::automatic;
}

template std::uint32_t kernel_value(DeliverySystem);
template std::uint32_t kernel_value(Modulation);
template std::uint32_t kernel_value(RollOff);
template std::uint32_t kernel_value(Pilot);
template std::uint32_t kernel_value(CodeRate);
template std::uint32_t kernel_value(GuardInterval);
template std::uint32_t kernel_value(TransmissionMode);
template std::uint32_t kernel_value(Hierarchy);
template DeliverySystem record_value(std::uint32_t);
template Modulation record_value(std::uint32_t);
template RollOff record_value(std::uint32_t);
template Pilot record_value(std::uint32_t);
template CodeRate record_value(std::uint32_t);
template GuardInterval record_value(std::uint32_t);
template TransmissionMode record_value(std::uint32_t);
template Hierarchy record_value(std::uint32_t);

}  // namespace kestrel
