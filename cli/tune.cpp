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
    "result, lock, level and quality. An option not given keeps its stored value (in\n"
    "brackets: the key, then its value on a first run), so a plain 'tune' tunes the\n"
    "stored tuning with the stored LNB setup. At exit the LNB settings and the tuning\n"
    "in force are kept in the settings, as the LNB dialog and the end of the desktop\n"
    "program keep them, and the next card command starts there; the card reads back\n"
    "circular polarisations as H or V and the FEC as -1. A settings file that cannot be\n"
    "written is said on standard error.\n"
    "Exit status: 0 tuned and locked, 1 not, 2 bad arguments or no usable card.\n\n"
    "  --card SPEC              linux:N[?dvb-s|?dvb-c|?dvb-t], capture:FILE or demo\n"
    "                           (General/card, else the first adapter as its first\n"
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
    "  --modulation 16|32|64|128|256   QAM (QAM; 64)\n"
    "  --bandwidth 7|8|auto     (BW; auto)\n"
    "  --inversion on|off       spectral inversion (SI; on)\n";

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
    std::optional<std::uint32_t> modulation;  // 1..5 for 16..256-QAM
    std::optional<std::uint32_t> bandwidth;   // 1 7 MHz, 2 8 MHz, 3 automatic
    std::optional<bool> inversion;
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

// The index of `text` among `names`, plus `first`.
template <typename T>
bool choice(std::string_view text, std::initializer_list<std::string_view> names, std::optional<T>& out,
            T first = 0) {
    T i = first;
    for (std::string_view name : names) {
        if (text == name) {
            out = i;
            return true;
        }
        ++i;
    }
    return false;
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
        {"--modulation",
         {[&r](std::string_view v) {
              return choice(v, {"16", "32", "64", "128", "256"}, r.modulation, 1u);
          },
          "16, 32, 64, 128 or 256"}},
        {"--bandwidth",
         {[&r](std::string_view v) {
              return choice(v, {"7", "8", "auto"}, r.bandwidth, 1u);
          },
          "7, 8 or auto"}},
        {"--inversion", {[&r](std::string_view v) { return on_off(v, r.inversion); }, "on or off"}},
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

// The stored tuning (for the card's frontend type) with the options given in its place.
TUNERPARM tuning_for(TUNERPARM t, const tune_request& r) {
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
    if (t.type == frontend_dvb_c) {
        if (symbols) t.word_b = static_cast<std::int32_t>(std::min<std::uint64_t>(*symbols, INT32_MAX));
        apply(t.word_c, r.modulation);
        apply(t.word_d, r.bandwidth);
    } else {
        apply(t.word_c, r.bandwidth);
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
    const std::uint32_t r = device->set_tuner(tuning_for(stored, request));
    const bool locked = r == result::ok ? wait_for_lock(*device) : device->is_locked();
    std::printf("card:    %s\n", session.card_spec().c_str());
    std::printf("result:  %u (%s)\n", r, result_meaning(r));
    std::printf("locked:  %s\n", locked ? "yes" : "no");
    std::printf("level:   %u %%\n", device->get_signal_level());
    std::printf("quality: %u %%\n", device->get_signal_quality());
    keep_session(session, "tune");
    return r == result::ok && locked ? 0 : 1;
}

}  // namespace kestrel::cli
