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
            break;
    }
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
            break;
    }
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
