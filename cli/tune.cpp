#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "cli/card_commands.h"
#include "cli/program_settings.h"
#include "device/dvb_device_techotrend.h"
#include "startup/lnb_settings.h"
#include "startup/session.h"

namespace kestrel::cli {

const char* const tune_usage =
    "usage: kestrel-cli tune [--card SPEC] [OPTIONS]\n\n"
    "Starts as every card command does (settings, logs, satellite list, the card, the\n"
    "stored LNB settings and last tuning restored), tunes the card and prints the\n"
    "result, lock, level and quality, then the signal's strength and CNR and its error\n"
    "rates over a second (n/a for what the card does not give). An option not given\n"
    "keeps its stored value (in\n"
    "brackets: the key, then its value on a first run), so a plain 'tune' tunes the\n"
    "stored tuning with the stored LNB setup. At exit the LNB settings and the tuning\n"
    "in force are kept in the settings, as the LNB dialog and the end of the desktop\n"
    "program keep them, and the next card command starts there; the card reads back\n"
    "circular polarisations as H or V and the FEC as -1. A settings file that cannot be\n"
    "written is said on standard error.\n"
    "Exit status: 0 tuned and locked, 1 not (or a system the frontend does not offer),\n"
    "2 bad arguments or no usable card.\n\n"
    "  --card SPEC              linux:N[?dvb-s|?dvb-s2|?dvb-c|?dvb-t|?dvb-t2], capture:FILE\n"
    "                           or demo (General/card, else the first adapter as its first\n"
    "                           delivery system, else demo)\n"
    "  --frequency MHZ          transponder frequency (FREQUENCY; 12322)\n"
    "DVB-S:\n"
    "  --polarisation H|V|L|R   (POLARITY; H)\n"
    "  --symbol-rate KSYMBOLS   kilosymbols per second, also DVB-C (SYMBOLRATE; 27800)\n"
    "  --fec N                  FEC code, logged only (FEC; 0)\n"
    "  --position 0-3           DiSEqC position (DISQSEL; 0)\n"
    "  --diseqc-mode 0-2        0 none, 1 tone burst, 2 committed switch (DISQMODE; 0)\n"
    "  --lof1 KHZ --lof2 KHZ    local oscillators (LOF1, LOF2; 9750000, 10600000)\n"
    "  --switch KHZ             first frequency of the high band (SWITCH; 11700000)\n"
    "  --lnb-power on|off       (LNBPOWER; on)\n"
    "DVB-C and DVB-T:\n"
    "  --inversion on|off       spectral inversion (SI; on)\n"
    "Every system (auto: the frontend finds it out, or the card's own system; the stored\n"
    "values are -1 for auto; while MODULATION and BANDWIDTHHZ are, QAM and BW apply):\n"
    "  --system dvb-s|dvb-s2|dvb-t|dvb-t2|dvb-c|auto   (SYSTEM; auto)\n"
    "  --modulation qpsk|8psk|16apsk|32apsk|16|32|64|128|256|auto\n"
    "                           the numbers are QAM (MODULATION; auto, and QAM; 64)\n"
    "  --code-rate 1/2|2/3|3/4|5/6|7/8|auto   inner FEC, DVB-T high priority (CODERATEHP)\n"
    "                           (DVB-S2 also 3/5, 4/5, 8/9, 9/10)\n"
    "DVB-S2:\n"
    "  --roll-off 0.35|0.25|0.20|auto   (ROLLOFF)\n"
    "  --pilot on|off|auto      (PILOT)\n"
    "  --stream-id N|none       input stream 0-255, also the DVB-T2 PLP (STREAMID; none)\n"
    "  --pls-code N             physical layer scrambling code (PLSCODE keeps the Gold index)\n"
    "  --pls-mode root|gold     how --pls-code counts (gold)\n"
    "DVB-T and DVB-T2:\n"
    "  --bandwidth 1.712|5|6|7|8|10|auto   MHz (BANDWIDTHHZ; auto, and BW; auto)\n"
    "  --code-rate-lp 1/2|2/3|3/4|5/6|7/8|auto   low priority (CODERATELP)\n"
    "  --guard 1/4|1/8|1/16|1/32|1/128|19/128|19/256|auto   (GUARD)\n"
    "  --transmission-mode 1k|2k|4k|8k|16k|32k|auto   (TRANSMODE)\n"
    "  --hierarchy none|1|2|4|auto   (HIERARCHY)\n";

namespace {

// What the command line asks for; an option not given stays empty and keeps its stored value.
struct tune_request {
    std::string card;
    std::optional<double> frequency_mhz;
    std::optional<std::int32_t> polarisation;
    std::optional<std::uint32_t> symbol_rate_k;
    std::optional<std::int32_t> fec;
    std::optional<std::uint32_t> position;
    std::optional<std::uint32_t> diseqc_mode, lof1, lof2, switch_khz;
    std::optional<bool> lnb_power;
    std::optional<bool> inversion;
    std::optional<lib13818::DeliverySystem> system;
    std::optional<lib13818::Modulation> modulation;
    std::optional<lib13818::RollOff> roll_off;
    std::optional<lib13818::Pilot> pilot;
    std::optional<std::int32_t> stream_id;  // -1 for none
    std::optional<std::int32_t> pls_code;
    bool pls_root = false;
    std::optional<lib13818::CodeRate> code_rate_hp, code_rate_lp;
    std::optional<lib13818::GuardInterval> guard_interval;
    std::optional<lib13818::TransmissionMode> transmission_mode;
    std::optional<lib13818::Hierarchy> hierarchy;
    std::optional<std::int32_t> bandwidth_hz;  // -1 for automatic
};

template <typename T>
bool number(std::string_view text, std::optional<T>& out, T low, T high) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !(value >= low) ||
        !(value <= high))
        return false;
    out = value;
    return true;
}

// The index of `text` among `names`.
template <typename T>
bool choice(std::string_view text, std::initializer_list<std::string_view> names, std::optional<T>& out) {
    T i = 0;
    for (std::string_view name : names) {
        if (text == name) {
            out = i;
            return true;
        }
        ++i;
    }
    return false;
}

// A field of the delivery record by its name (lib13818/delivery/delivery.h).
template <typename Code>
auto coded(std::optional<Code>& field) {
    return [&field](std::string_view text) {
        Code value{};
        if (!lib13818::parse(text, value)) return false;
        field = value;
        return true;
    };
}

bool stream_id(std::string_view text, std::optional<std::int32_t>& out) {
    if (text != "none") return number(text, out, 0, lib13818::max_stream_id);
    out = lib13818::automatic;
    return true;
}

bool bandwidth(std::string_view text, std::optional<std::int32_t>& out) {
    std::int32_t hz = 0;
    if (!lib13818::parse_bandwidth(text, hz)) return false;
    out = hz;
    return true;
}

bool on_off(std::string_view text, std::optional<bool>& out) {
    if (text != "on" && text != "off") return false;
    out = text == "on";
    return true;
}

using option_reader = std::function<bool(std::string_view)>;

// Each option with the reader of its value and what the value must be, for the error.
std::map<std::string_view, std::pair<option_reader, const char*>> options_of(tune_request& r) {
    constexpr std::uint32_t khz_max = 0xFFFFFFFF;
    constexpr std::uint32_t ksymbols_max = khz_max / 1000;
    const auto khz = [](std::optional<std::uint32_t>& field) {
        return [&field](std::string_view v) { return number(v, field, 0u, khz_max); };
    };
    return {
        {"--card", {[&r](std::string_view v) { return r.card = v, !v.empty(); }, "a SPEC"}},
        {"--frequency",
         {[&r](std::string_view v) { return number(v, r.frequency_mhz, 0.0, 4294967.0); },
          "a frequency in MHz"}},
        {"--polarisation",
         {[&r](std::string_view v) {
              return choice(v, {"H", "V", "L", "R"}, r.polarisation);
          },
          "H, V, L or R"}},
        {"--symbol-rate",
         {[&r](std::string_view v) { return number(v, r.symbol_rate_k, 1u, ksymbols_max); },
          "kilosymbols per second"}},
        {"--fec", {[&r](std::string_view v) { return number(v, r.fec, -1, 15); }, "a FEC code"}},
        {"--position", {[&r](std::string_view v) { return number(v, r.position, 0u, 3u); }, "0 to 3"}},
        {"--diseqc-mode",
         {[&r](std::string_view v) { return number(v, r.diseqc_mode, 0u, 2u); }, "0, 1 or 2"}},
        {"--lof1", {khz(r.lof1), "a frequency in kHz"}},
        {"--lof2", {khz(r.lof2), "a frequency in kHz"}},
        {"--switch", {khz(r.switch_khz), "a frequency in kHz"}},
        {"--lnb-power", {[&r](std::string_view v) { return on_off(v, r.lnb_power); }, "on or off"}},
        {"--inversion", {[&r](std::string_view v) { return on_off(v, r.inversion); }, "on or off"}},
        {"--system", {coded(r.system), "dvb-s, dvb-s2, dvb-t, dvb-t2, dvb-c or auto"}},
        {"--modulation", {coded(r.modulation), "qpsk, 8psk, 16apsk, 32apsk, 16, 32, 64, 128, 256 or auto"}},
        {"--roll-off", {coded(r.roll_off), "0.35, 0.25, 0.20 or auto"}},
        {"--pilot", {coded(r.pilot), "on, off or auto"}},
        {"--stream-id", {[&r](std::string_view v) { return stream_id(v, r.stream_id); }, "0 to 255 or none"}},
        {"--pls-code",
         {[&r](std::string_view v) { return number(v, r.pls_code, 0, 0x3FFFF); }, "a code from 0 to 262143"}},
        {"--pls-mode",
         {[&r](std::string_view v) { return (r.pls_root = v == "root") || v == "gold"; }, "root or gold"}},
        {"--code-rate", {coded(r.code_rate_hp), "1/2, 2/3, 3/4, 5/6, 7/8 (3/5, 4/5, 8/9, 9/10) or auto"}},
        {"--code-rate-lp", {coded(r.code_rate_lp), "1/2, 2/3, 3/4, 5/6, 7/8 or auto"}},
        {"--guard", {coded(r.guard_interval), "1/4, 1/8, 1/16, 1/32, 1/128, 19/128, 19/256 or auto"}},
        {"--transmission-mode", {coded(r.transmission_mode), "1k, 2k, 4k, 8k, 16k, 32k or auto"}},
        {"--hierarchy", {coded(r.hierarchy), "none, 1, 2, 4 or auto"}},
        {"--bandwidth",
         {[&r](std::string_view v) { return bandwidth(v, r.bandwidth_hz); },
          "1.712, 5, 6, 7, 8, 10 or auto"}},
    };
}

// Reads the arguments; "" or the one-line error.
std::string parse(std::span<char* const> args, tune_request& request) {
    const auto options = options_of(request);
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i], value;
        const auto equals = arg.find('=');
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const auto it = options.find(arg);
        if (it == options.end()) return "unknown argument '" + std::string(args[i]) + "' (try --help)";
        if (equals == std::string_view::npos) {
            if (i + 1 >= args.size()) return std::string(arg) + " needs " + it->second.second;
            value = args[++i];
        }
        if (!it->second.first(value))
            return std::string(arg) + " needs " + it->second.second + ", not '" + std::string(value) + "'";
    }
    // The Gold index is what a tuning takes and the settings keep.
    if (request.pls_code && request.pls_root) {
        const std::int32_t gold = lib13818::gold_index_of_root(*request.pls_code);
        if (gold == lib13818::automatic)
            return "--pls-code " + std::to_string(*request.pls_code) +
                   " is no root code of the scrambling sequence";
        request.pls_code = gold;
    } else if (request.pls_code && *request.pls_code > lib13818::max_scrambling_index) {
        return "--pls-code needs a Gold index from 0 to 262142, not " + std::to_string(*request.pls_code);
    }
    return "";
}

template <typename T, typename U>
void apply(T& field, const std::optional<U>& given) {
    if (given) field = static_cast<T>(*given);
}

// The stored LNB values with the options given in their place.
LnbConfig lnb_for(LnbConfig lnb, const tune_request& r) {
    apply(lnb.diseqc_mode, r.diseqc_mode);
    apply(lnb.lof1, r.lof1);
    apply(lnb.lof2, r.lof2);
    apply(lnb.switch_khz, r.switch_khz);
    apply(lnb.lnb_power, r.lnb_power);
    return lnb;
}

void apply_delivery(lib13818::Delivery& d, const tune_request& r) {
    apply(d.system, r.system);
    apply(d.modulation, r.modulation);
    apply(d.roll_off, r.roll_off);
    apply(d.pilot, r.pilot);
    apply(d.stream_id, r.stream_id);
    apply(d.scrambling_index, r.pls_code);
    apply(d.code_rate_hp, r.code_rate_hp);
    apply(d.code_rate_lp, r.code_rate_lp);
    apply(d.guard_interval, r.guard_interval);
    apply(d.transmission_mode, r.transmission_mode);
    apply(d.hierarchy, r.hierarchy);
    apply(d.bandwidth_hz, r.bandwidth_hz);
}

// The stored tuning (for the card's frontend type) with the options given in its place.
TUNERPARM tuning_for(TUNERPARM t, const tune_request& r) {
    apply_delivery(t.delivery, r);
    const std::optional<std::uint64_t> symbols =
        r.symbol_rate_k ? std::optional<std::uint64_t>(std::uint64_t{*r.symbol_rate_k} * 1000) : std::nullopt;
    if (t.type == frontend_dvb_s) {
        if (r.frequency_mhz) t.frequency = *r.frequency_mhz / 1000.0;
        apply(t.word_a, r.polarisation);
        apply(t.word_b, r.fec);
        apply(t.word_c, symbols);
        apply(t.word_d, r.position);
        return t;
    }
    apply(t.frequency, r.frequency_mhz);
    if (r.inversion) t.word_a = *r.inversion ? 1 : 0;
    // The seed's words follow the options they have a code for, so the QAM and BW keys agree.
    const std::optional<std::uint32_t> qam = r.modulation ? qam_word_of(*r.modulation) : std::nullopt;
    const std::optional<std::uint32_t> band =
        r.bandwidth_hz ? bandwidth_code_of(*r.bandwidth_hz) : std::nullopt;
    if (t.type == frontend_dvb_c) {
        if (symbols) t.word_b = static_cast<std::int32_t>(std::min<std::uint64_t>(*symbols, INT32_MAX));
        apply(t.word_c, qam);
        apply(t.word_d, band);
    } else {
        apply(t.word_c, band);
    }
    return t;
}

// DVB-C and DVB-T tunings return without waiting for the frontend, which takes a while to
// lock on real hardware: asked at once, a good channel would read as not locked.
bool wait_for_lock(dvb_device& device) {
    constexpr int polls = 30;
    constexpr auto poll_gap = std::chrono::milliseconds(50);
    for (int i = 0; i < polls; ++i) {
        if (device.is_locked()) return true;
        std::this_thread::sleep_for(poll_gap);
    }
    return device.is_locked();
}

// Strength and CNR as the card gives them now, and the error rates over about a second.
void print_statistics(dvb_device& device) {
    signal_statistics first, second;
    device.read_statistics(first);
    second = first;
    // Rates need the counters to move; a card without counters is not waited for.
    if (first.pre_fec_bits || first.post_fec_bits || first.blocks) {
        std::this_thread::sleep_for(std::chrono::milliseconds(error_rate_tracker::period_ms));
        device.read_statistics(second);
    }
    const error_rates rates = rates_between(first, second);
    std::printf("strength: %s\n", strength_text(second.strength_dbm).c_str());
    std::printf("cnr:      %s\n", cnr_text(second.cnr_db).c_str());
    std::printf("ber:      %s\n", rate_text(rates.pre_fec_ber).c_str());
    std::printf("post-ber: %s\n", rate_text(rates.post_fec_ber).c_str());
    std::printf("per:      %s\n", rate_text(rates.block_error_rate).c_str());
}

}  // namespace

int run_tune(std::span<char* const> args) {
    tune_request request;
    if (const std::string error = parse(args, request); !error.empty()) {
        std::fprintf(stderr, "kestrel-cli tune: %s\n", error.c_str());
        return 2;
    }
    startup::session session = open_session(request.card);
    dvb_device_techotrend* device = session.device();
    if (device == nullptr || !session.card_error().empty()) {
        std::fprintf(stderr, "kestrel-cli tune: %s\n", session.card_error().c_str());
        return 2;
    }
    device->set_lnb_config(lnb_for(device->lnb_config(), request));
    const TUNERPARM stored =
        startup::load_lnb_settings(session.settings(), device->get_frontend_type()).tuning;
    const TUNERPARM tuning = tuning_for(stored, request);
    if (!device->offers_system(tuning.delivery.system)) {
        std::string frontend;
        device->get_device_info(0, frontend);
        std::fprintf(stderr, "kestrel-cli tune: %s does not tune %s as %s\n", frontend.c_str(),
                     lib13818::name(tuning.delivery.system),
                     frontend_type_name(static_cast<std::int32_t>(device->get_frontend_type())));
    }
    const std::uint32_t r = device->set_tuner(tuning);
    const bool locked = r == result::ok ? wait_for_lock(*device) : device->is_locked();
    std::printf("card:    %s\n", session.card_spec().c_str());
    std::printf("result:  %u (%s)\n", r, result_meaning(r));
    std::printf("locked:  %s\n", locked ? "yes" : "no");
    std::printf("level:   %u %%\n", device->get_signal_level());
    std::printf("quality: %u %%\n", device->get_signal_quality());
    print_statistics(*device);
    keep_session(session, "tune");
    return r == result::ok && locked ? 0 : 1;
}

}  // namespace kestrel::cli
