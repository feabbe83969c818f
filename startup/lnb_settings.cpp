#include "startup/lnb_settings.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "device/dvb_device_techotrend.h"
#include "settings/keys.h"

namespace kestrel::startup {

namespace {

namespace key = kestrel::settings;

std::uint32_t read_unsigned(settings_store& store, const key::int_key& k) {
    return static_cast<std::uint32_t>(key::read(store, k));
}

void write_unsigned(settings_store& store, const key::int_key& k, std::uint32_t value) {
    key::write(store, k, static_cast<std::int32_t>(value));
}

// A frequency in kHz from `value` x `khz_per_unit`, to the nearest kHz and held to the
// 32-bit range the store keeps.
std::int32_t to_khz(double value, double khz_per_unit) {
    const double khz = std::round(value * khz_per_unit);
    if (!(khz > std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    if (!(khz < std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(khz);
}

// A product computed in 64 bits, held to the unsigned 32 bits the DVB-S load reads back.
std::uint32_t clamp_unsigned(std::uint64_t value) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

// A stored number within [low, high], else automatic.
std::int32_t in_range(settings_store& s, const key::int_key& k, std::int32_t low, std::int32_t high) {
    const std::int32_t value = key::read(s, k);
    return value >= low && value <= high ? value : lib13818::automatic;
}

// The stored delivery record; a system of another frontend type than the card's (the
// store is shared by every card) reads as automatic.
lib13818::Delivery load_delivery(settings_store& s, std::uint32_t frontend_type) {
    using namespace lib13818;
    Delivery d;
    d.system = code_of<DeliverySystem>(key::read(s, key::delivery_system));
    if (frontend_type_of(d.system) != static_cast<std::int32_t>(frontend_type))
        d.system = DeliverySystem::automatic;
    d.modulation = code_of<Modulation>(key::read(s, key::modulation));
    d.roll_off = code_of<RollOff>(key::read(s, key::rolloff));
    d.pilot = code_of<Pilot>(key::read(s, key::pilot));
    d.stream_id = in_range(s, key::streamid, 0, max_stream_id);
    d.scrambling_index = in_range(s, key::plscode, 0, max_scrambling_index);
    d.code_rate_hp = code_of<CodeRate>(key::read(s, key::coderatehp));
    d.code_rate_lp = code_of<CodeRate>(key::read(s, key::coderatelp));
    d.guard_interval = code_of<GuardInterval>(key::read(s, key::guard));
    d.transmission_mode = code_of<TransmissionMode>(key::read(s, key::transmode));
    d.hierarchy = code_of<Hierarchy>(key::read(s, key::hierarchy));
    const std::int32_t bandwidth = key::read(s, key::bandwidthhz);
    if (std::ranges::find(bandwidths_hz, bandwidth) != std::end(bandwidths_hz)) d.bandwidth_hz = bandwidth;
    return d;
}

void save_delivery(settings_store& s, const lib13818::Delivery& d) {
    key::write(s, key::delivery_system, static_cast<std::int32_t>(d.system));
    key::write(s, key::modulation, static_cast<std::int32_t>(d.modulation));
    key::write(s, key::rolloff, static_cast<std::int32_t>(d.roll_off));
    key::write(s, key::pilot, static_cast<std::int32_t>(d.pilot));
    key::write(s, key::streamid, d.stream_id);
    key::write(s, key::plscode, d.scrambling_index);
    key::write(s, key::coderatehp, static_cast<std::int32_t>(d.code_rate_hp));
    key::write(s, key::coderatelp, static_cast<std::int32_t>(d.code_rate_lp));
    key::write(s, key::guard, static_cast<std::int32_t>(d.guard_interval));
    key::write(s, key::transmode, static_cast<std::int32_t>(d.transmission_mode));
    key::write(s, key::hierarchy, static_cast<std::int32_t>(d.hierarchy));
    key::write(s, key::bandwidthhz, d.bandwidth_hz);
}

TUNERPARM load_tuning(settings_store& s, std::uint32_t frontend_type) {
    TUNERPARM t;
    const std::int32_t frequency = key::read(s, key::frequency);
    switch (frontend_type) {
        case frontend_dvb_s:
            t.type = frontend_dvb_s;
            t.frequency = frequency * 0.000001;
            t.word_a = key::read(s, key::polarity);
            t.word_b = key::read(s, key::fec);
            t.word_c = read_unsigned(s, key::symbolrate);
            t.word_d = read_unsigned(s, key::disqsel);
            t.word_e = 0;
            t.word_f = key::read(s, key::si);
            break;
        case frontend_dvb_c:
            t.type = frontend_dvb_c;
            t.frequency = frequency * 0.001;
            t.word_a = key::read(s, key::si);
            t.word_b = key::read(s, key::symbolrate);
            t.word_c = read_unsigned(s, key::qam);
            t.word_d = read_unsigned(s, key::bw);
            break;
        case frontend_dvb_t:
            t.type = frontend_dvb_t;
            t.frequency = frequency * 0.001;
            t.word_a = key::read(s, key::si);
            t.word_b = 1;
            t.word_c = read_unsigned(s, key::bw);
            break;
        default:
            return t;
    }
    t.delivery = load_delivery(s, frontend_type);
    return t;
}

void save_tuning(settings_store& s, std::uint32_t frontend_type, const TUNERPARM& t) {
    switch (frontend_type) {
        case frontend_dvb_s:
            key::write(s, key::frequency, to_khz(t.frequency, 1'000'000.0));
            write_unsigned(s, key::symbolrate, clamp_unsigned(std::uint64_t{t.word_c} * 1000));
            key::write(s, key::fec, t.word_b);
            key::write(s, key::polarity, t.word_a);
            write_unsigned(s, key::disqsel, t.word_d);
            key::write(s, key::si, t.word_f);
            break;
        case frontend_dvb_c:
            key::write(s, key::frequency, to_khz(t.frequency, 1000.0));
            key::write(s, key::symbolrate, t.word_b);
            key::write(s, key::si, t.word_a);
            write_unsigned(s, key::qam, t.word_c);
            write_unsigned(s, key::bw, t.word_d);
            break;
        case frontend_dvb_t:
            key::write(s, key::frequency, to_khz(t.frequency, 1000.0));
            key::write(s, key::si, t.word_a);
            write_unsigned(s, key::bw, t.word_c);
            break;
        default:
            return;
    }
    save_delivery(s, t.delivery);
}

}  // namespace

lnb_settings load_lnb_settings(settings_store& s, std::uint32_t frontend_type) {
    lnb_settings loaded;
    loaded.tuning = load_tuning(s, frontend_type);
    loaded.lnb.diseqc_mode = std::min(read_unsigned(s, key::disqmode), diseqc_mode::committed);
    loaded.lnb.lof1 = read_unsigned(s, key::lof1);
    loaded.lnb.lof2 = read_unsigned(s, key::lof2);
    loaded.lnb.switch_khz = read_unsigned(s, key::switch_khz);
    loaded.lnb.lnb_power = key::read(s, key::lnbpower) != 0;
    return loaded;
}

void save_lnb_settings(settings_store& s, std::uint32_t frontend_type, const LnbConfig& lnb,
                       const TUNERPARM* tuning) {
    if (tuning != nullptr) save_tuning(s, frontend_type, *tuning);
    write_unsigned(s, key::lof1, lnb.lof1);
    write_unsigned(s, key::lof2, lnb.lof2);
    write_unsigned(s, key::switch_khz, lnb.switch_khz);
    write_unsigned(s, key::disqmode, lnb.diseqc_mode);
    key::write(s, key::lnbpower, lnb.lnb_power ? 1 : 0);
}

void restore_lnb_settings(settings_store& settings, dvb_device& device) {
    const lnb_settings loaded = load_lnb_settings(settings, device.get_frontend_type());
    device.set_lnb_config(loaded.lnb);
    device.set_tuner(loaded.tuning);
}

void keep_lnb_settings(settings_store& settings, dvb_device& device) {
    TUNERPARM tuning;
    const bool tuned = device.get_tuner(tuning) == result::ok;
    save_lnb_settings(settings, device.get_frontend_type(), device.lnb_config(), tuned ? &tuning : nullptr);
}

}  // namespace kestrel::startup
