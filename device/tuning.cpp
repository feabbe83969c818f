#include <cmath>
#include <cstdint>
#include <limits>

#include "device/dvb_device_techotrend.h"
#include "log/event_log.h"

namespace kestrel {

namespace {

// Waits of DVB-S tuning, on the card's clock.
constexpr std::uint32_t diseqc_repeat_gap_ms = 120;  // after each committed-switch message
constexpr std::uint32_t settle_before_tune_ms = 20;
constexpr std::uint32_t lock_wait_ms = 750;
constexpr int committed_switch_sendings = 3;

constexpr std::uint32_t volts_vertical = 13;
constexpr std::uint32_t volts_horizontal = 18;

// A frequency as whole kHz, refused when it does not fit 32 bits (or is not a number).
bool to_khz(double khz, std::uint32_t& out) {
    if (!(khz >= 0.0 && khz <= static_cast<double>(std::numeric_limits<std::uint32_t>::max()))) return false;
    out = static_cast<std::uint32_t>(khz);
    return true;
}

bool vertical_polarisation(int polarisation) {
    return polarisation == 1 || polarisation == 3;
}

// The line that follows the tuning's own: the system asked for and the stream (-1 for none).
void log_delivery(int level, const lib13818::Delivery& delivery) {
    event_log(level, "delivery system=%s stream=%d", lib13818::name(delivery.system),
              static_cast<int>(delivery.stream_id));
}

}  // namespace

std::uint32_t dvb_device_techotrend::set_tuner(double frequency, int polarisation, int fec,
                                               unsigned long symbol_rate, unsigned long position) {
    return tune_satellite(frequency, polarisation, fec, symbol_rate, position, {});
}

std::uint32_t dvb_device_techotrend::tune_satellite(double frequency, int polarisation, int fec,
                                                    unsigned long symbol_rate, unsigned long position,
                                                    const lib13818::Delivery& delivery) {
    event_log(1, "dvb_device_techotrend::set_tuner(%f,%d,%d,%lu)", frequency, polarisation, fec, symbol_rate);
    position_ = position;
    if (!card_ready()) return result::not_initialized;

    std::uint32_t khz = 0;
    if (!to_khz(std::round(frequency * 1e6), khz)) {
        event_log(1, "Frequency out of range: %f", frequency);
        return result::failed;
    }
    if (symbol_rate > std::numeric_limits<std::uint32_t>::max()) {
        event_log(1, "Symbol rate out of range: %lu", symbol_rate);
        return result::failed;
    }
    const bool high_band = khz >= lnb_.switch_khz;
    const bool vertical = vertical_polarisation(polarisation);
    const std::uint32_t lof = high_band ? lnb_.lof2 : lnb_.lof1;
    const std::uint32_t volts = !lnb_.lnb_power ? 0 : vertical ? volts_vertical : volts_horizontal;
    channel_.word = {khz, 2, static_cast<std::uint32_t>(symbol_rate), lof, high_band ? 1u : 0u, volts, 0};
    channel_.delivery = delivery;
    event_log(1, "LOF=%lu", static_cast<unsigned long>(lof));

    if (position > 3) return result::failed;
    event_log(1, "_pol=%d f22=%d", vertical ? 1 : 0, high_band ? 1 : 0);
    if (const std::uint32_t r = send_diseqc(position, high_band, vertical); r != result::ok) return r;
    card_->sleep_ms(settle_before_tune_ms);

    event_log(1, "freq=%lu SR=%lu", static_cast<unsigned long>(channel_.word[0]),
              static_cast<unsigned long>(channel_.word[2]));
    log_delivery(1, delivery);
    if (const std::int32_t r = card_->set_channel(channel_); r != 0) {
        event_log(1, "Error set channel: %d", r);
        return result::failed;
    }
    card_->sleep_ms(lock_wait_ms);
    signal_state state;
    if (const std::int32_t r = card_->read_state(state); r != 0) {
        event_log(1, "Error getting locked state: %d", r);
        return result::failed;
    }
    if (!state.locked) {
        event_log(1, "Not locked");
        return result::failed;
    }
    event_log(1, "returning ERR_OK");
    return result::ok;
}

// The DiSEqC step of DVB-S tuning, by the configured mode.
std::uint32_t dvb_device_techotrend::send_diseqc(unsigned long position, bool high_band, bool vertical) {
    switch (lnb_.diseqc_mode) {
        case diseqc_mode::none: {
            const std::uint8_t reset_all[] = {0xE0, 0x00, 0x00};
            card_->send_diseqc(reset_all, diseqc_burst::none);
            return result::ok;
        }
        case diseqc_mode::tone_burst:
            if (position > 1) return result::burst_position;
            card_->send_diseqc({}, position != 0 ? diseqc_burst::mini_b : diseqc_burst::mini_a);
            return result::ok;
        case diseqc_mode::committed: {
            const auto data =
                static_cast<std::uint8_t>(0xF0 | (high_band ? 0x01 : 0) | (vertical ? 0 : 0x02) |
                                          ((position & 1) ? 0x04 : 0) | ((position & 2) ? 0x08 : 0));
            std::uint8_t message[] = {0xE0, 0x10, 0x38, data};
            for (int i = 0; i < committed_switch_sendings; ++i) {
                card_->send_diseqc(message, diseqc_burst::none);
                card_->sleep_ms(diseqc_repeat_gap_ms);
                message[0] = 0xE1;  // the repeats say so
            }
            return result::ok;
        }
        default:
            return result::mismatch;
    }
}

std::uint32_t dvb_device_techotrend::set_tuner(const TUNERPARM& tuning) {
    event_log(1, "dvb_device_techotrend::set_tuner(const TUNERPARM&)");
    if (!card_ready()) return result::not_initialized;
    const std::int32_t frontend = frontend_type_;
    if (static_cast<std::int64_t>(tuning.type) != frontend) {
        event_log(1, "tuner type mismatch: frontend=%d tp=%d", frontend, static_cast<int>(tuning.type));
        return result::mismatch;
    }
    switch (frontend) {
        case frontend_dvb_s:
            return tune_satellite(tuning.frequency, tuning.word_a, tuning.word_b, tuning.word_c,
                                  tuning.word_d, tuning.delivery);
        case frontend_dvb_c:
        case frontend_dvb_t:
            return tune_dvb_c_t(tuning);
        default:
            return result::not_supported;
    }
}

std::uint32_t dvb_device_techotrend::tune_dvb_c_t(const TUNERPARM& tuning) {
    std::uint32_t khz = 0;
    if (!to_khz(std::trunc(tuning.frequency * 1000.0), khz)) {
        event_log(1, "Frequency out of range: %f", tuning.frequency);
        return result::failed;
    }
    const std::uint32_t caps = capabilities_;
    const std::uint32_t inversion = (caps & capability::auto_inversion) ? 2 : tuning.word_a != 0 ? 1 : 0;
    const bool terrestrial = frontend_type_ == frontend_dvb_t;
    std::uint32_t bandwidth = 3;
    std::uint32_t first = 0, second = 0;
    if (caps & capability::auto_bandwidth) {
        bandwidth = 3;
    } else if (card_->bandwidth_range(first, second) == 0 && first == second) {
        bandwidth = first;
    } else {
        // The field is the code itself (1 = 7 MHz, 2 = 8 MHz, 3 = automatic); 0 means 7 MHz,
        // anything else is left to the frontend.
        const std::uint32_t field = terrestrial ? tuning.word_c : tuning.word_d;
        bandwidth = field == 0 ? 1 : field <= 3 ? field : 3;
    }
    ChannelRecord record;
    record.delivery = tuning.delivery;
    if (terrestrial) {
        record.word = {khz, inversion, 0, bandwidth, 0, 0, 0};
        event_log(2, "Setting DVB-T freq=%d si=%d bw=%d", static_cast<int>(khz), static_cast<int>(inversion),
                  static_cast<int>(bandwidth));
    } else {
        const std::uint32_t modulation = tuning.word_c >= 1 && tuning.word_c <= 5 ? tuning.word_c - 1 : 2;
        record.word = {khz, inversion, static_cast<std::uint32_t>(tuning.word_b), modulation, bandwidth,
                       0,   0};
        event_log(2, "Setting DVB-C freq=%d sr=%d QAM=%d si=%d bw=%d", static_cast<int>(khz), tuning.word_b,
                  static_cast<int>(modulation), static_cast<int>(inversion), static_cast<int>(bandwidth));
    }
    log_delivery(2, tuning.delivery);
    const std::int32_t r = card_->set_channel(record);
    event_log(2, "Frontend returned %d", r);
    return r == 0 ? result::ok : result::failed;
}

std::uint32_t dvb_device_techotrend::get_tuner(double& frequency, int& polarisation, int& fec,
                                               unsigned long& symbol_rate, unsigned long& position) {
    if (!card_ready()) return result::not_initialized;
    position = position_;
    if (const std::int32_t r = card_->get_channel(channel_); r != 0) {
        event_log(1, "Error getting channel: %d", r);
        return result::failed;
    }
    frequency = channel_.word[channel_word::frequency] * 0.000001;
    polarisation = channel_.word[channel_word::voltage] != volts_horizontal ? 1 : 0;
    fec = -1;
    symbol_rate = channel_.word[channel_word::symbol_rate] / 1000;
    return result::ok;
}

std::uint32_t dvb_device_techotrend::get_tuner(TUNERPARM& tuning) {
    if (!card_ready()) return result::not_initialized;
    const std::int32_t frontend = frontend_type_;
    if (frontend == frontend_dvb_s) {
        tuning.type = frontend_dvb_s;
        unsigned long symbol_rate = 0, position = 0;
        const std::uint32_t r =
            get_tuner(tuning.frequency, tuning.word_a, tuning.word_b, symbol_rate, position);
        tuning.word_c = static_cast<std::uint32_t>(symbol_rate);
        tuning.word_d = static_cast<std::uint32_t>(position);
        tuning.delivery = channel_.delivery;
        return r;
    }
    if (frontend != frontend_dvb_c && frontend != frontend_dvb_t) {
        tuning.type = frontend_none;
        return result::not_supported;
    }
    tuning.type = static_cast<std::uint32_t>(frontend);
    ChannelRecord record;
    if (card_->get_channel(record) != 0) return result::failed;
    tuning.frequency = record.word[channel_word::frequency] * 0.001;
    tuning.word_a = static_cast<std::int32_t>(record.word[channel_word::inversion]);
    tuning.delivery = record.delivery;
    if (frontend == frontend_dvb_c) {
        tuning.word_b = static_cast<std::int32_t>(record.word[channel_word::symbol_rate]);
        const std::uint32_t modulation = record.word[channel_word::modulation];
        tuning.word_c = modulation <= 4 ? modulation + 1 : 0;
        tuning.word_d = record.word[channel_word::cable_bandwidth];
    } else {
        tuning.word_b &= ~0xFF;
        tuning.word_c = record.word[channel_word::bandwidth];
    }
    return result::ok;
}

}  // namespace kestrel
