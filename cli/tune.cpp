#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <thread>

#include "cli/card_commands.h"
#include "device/dvb_device_techotrend.h"
#include "startup/card_choice.h"

namespace kestrel::cli {

const char* const tune_usage =
    "usage: kestrel-cli tune [--card SPEC] [OPTIONS]\n\n"
    "Initialises the card, tunes it and prints the result, lock, level and quality.\n"
    "Exit status: 0 tuned and locked, 1 not, 2 bad arguments or no usable card.\n\n"
    "  --card SPEC              linux:N[?dvb-s|?dvb-c|?dvb-t], capture:FILE or demo\n"
    "                           (default: the first adapter, as its first delivery system)\n"
    "  --frequency MHZ          transponder frequency (default 12322)\n"
    "DVB-S:\n"
    "  --polarisation H|V|L|R   (default H)\n"
    "  --symbol-rate KSYMBOLS   kilosymbols per second (default 27800; also DVB-C)\n"
    "  --fec N                  FEC code, logged only (default 0)\n"
    "  --position 0-3           DiSEqC position (default 0)\n"
    "  --diseqc-mode 0-2        0 none, 1 tone burst, 2 committed switch (default 0)\n"
    "  --lof1 KHZ --lof2 KHZ    local oscillators (default 9750000, 10600000)\n"
    "  --switch KHZ             first frequency of the high band (default 11700000)\n"
    "  --lnb-power on|off       (default on)\n"
    "DVB-C and DVB-T:\n"
    "  --modulation 16|32|64|128|256   QAM (default 64)\n"
    "  --bandwidth 7|8|auto     (default auto)\n"
    "  --inversion on|off       spectral inversion (default on)\n";

namespace {

struct tune_request {
    std::string card;
    double frequency_mhz = 12322.0;
    int polarisation = 0;
    unsigned long symbol_rate_k = 27800;
    int fec = 0;
    unsigned long position = 0;
    LnbConfig lnb{diseqc_mode::none, 9750000, 10600000, 11700000, true};
    std::uint32_t modulation = 3;  // 1..5 for 16..256-QAM
    std::uint32_t bandwidth = 3;
    bool inversion = true;
};

template <typename T>
bool number(std::string_view text, T& out, T low, T high) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < low ||
        value > high)
        return false;
    out = value;
    return true;
}

bool choice(std::string_view text, std::initializer_list<std::string_view> names, std::uint32_t& out) {
    std::uint32_t i = 0;
    for (std::string_view name : names) {
        if (text == name) {
            out = i;
            return true;
        }
        ++i;
    }
    return false;
}

using option_reader = std::function<bool(std::string_view)>;

// Each option with the reader of its value and what the value must be, for the error.
std::map<std::string_view, std::pair<option_reader, const char*>> options_of(tune_request& r) {
    constexpr std::uint32_t khz_max = 0xFFFFFFFF;
    std::uint32_t scratch = 0;
    return {
        {"--card", {[&r](std::string_view v) { return r.card = v, !v.empty(); }, "a SPEC"}},
        {"--frequency",
         {[&r](std::string_view v) {
              return number(v, r.frequency_mhz, 0.0, 4294967.0) && std::isfinite(r.frequency_mhz);
          },
          "a frequency in MHz"}},
        {"--polarisation",
         {[&r, scratch](std::string_view v) mutable {
              return choice(v, {"H", "V", "L", "R"}, scratch) &&
                     (r.polarisation = static_cast<int>(scratch), true);
          },
          "H, V, L or R"}},
        {"--symbol-rate",
         {[&r](std::string_view v) { return number(v, r.symbol_rate_k, 1ul, 4294967ul); },
          "kilosymbols per second"}},
        {"--fec", {[&r](std::string_view v) { return number(v, r.fec, -1, 15); }, "a FEC code"}},
        {"--position", {[&r](std::string_view v) { return number(v, r.position, 0ul, 3ul); }, "0 to 3"}},
        {"--diseqc-mode",
         {[&r](std::string_view v) { return number(v, r.lnb.diseqc_mode, 0u, 2u); }, "0, 1 or 2"}},
        {"--lof1",
         {[&r](std::string_view v) { return number(v, r.lnb.lof1, 0u, khz_max); }, "a frequency in kHz"}},
        {"--lof2",
         {[&r](std::string_view v) { return number(v, r.lnb.lof2, 0u, khz_max); }, "a frequency in kHz"}},
        {"--switch",
         {[&r](std::string_view v) { return number(v, r.lnb.switch_khz, 0u, khz_max); },
          "a frequency in kHz"}},
        {"--lnb-power",
         {[&r, scratch](std::string_view v) mutable {
              return choice(v, {"off", "on"}, scratch) && (r.lnb.lnb_power = scratch == 1, true);
          },
          "on or off"}},
        {"--modulation",
         {[&r, scratch](std::string_view v) mutable {
              return choice(v, {"16", "32", "64", "128", "256"}, scratch) &&
                     (r.modulation = scratch + 1, true);
          },
          "16, 32, 64, 128 or 256"}},
        {"--bandwidth",
         {[&r, scratch](std::string_view v) mutable {
              return choice(v, {"7", "8", "auto"}, scratch) && (r.bandwidth = scratch + 1, true);
          },
          "7, 8 or auto"}},
        {"--inversion",
         {[&r, scratch](std::string_view v) mutable {
              return choice(v, {"off", "on"}, scratch) && (r.inversion = scratch == 1, true);
          },
          "on or off"}},
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

TUNERPARM tuning_for(std::uint32_t frontend, const tune_request& r) {
    TUNERPARM t;
    t.type = frontend;
    if (frontend == frontend_dvb_s) {
        t.frequency = r.frequency_mhz / 1000.0;
        t.word_a = r.polarisation;
        t.word_b = r.fec;
        t.word_c = static_cast<std::uint32_t>(r.symbol_rate_k * 1000);
        t.word_d = static_cast<std::uint32_t>(r.position);
        return t;
    }
    t.frequency = r.frequency_mhz;
    t.word_a = r.inversion ? 1 : 0;
    if (frontend == frontend_dvb_c) {
        t.word_b = static_cast<std::int32_t>(r.symbol_rate_k * 1000);
        t.word_c = r.modulation;
        t.word_d = r.bandwidth;
    } else {
        t.word_c = r.bandwidth;
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
    startup::card_choice choice = startup::choose_card(request.card);
    if (!choice.chosen) {
        std::fprintf(stderr, "kestrel-cli tune: %s\n", choice.error.c_str());
        return 2;
    }
    dvb_device_techotrend device(std::move(choice.chosen));
    if (const std::uint32_t r = device.init(); r != result::ok) {
        std::fprintf(stderr, "kestrel-cli tune: card '%s': init failed with result %u (%s)\n",
                     choice.spec.c_str(), r, result_meaning(r));
        return 2;
    }
    device.set_lnb_config(request.lnb);
    const std::uint32_t r = device.set_tuner(tuning_for(device.get_frontend_type(), request));
    const bool locked = r == result::ok ? wait_for_lock(device) : device.is_locked();
    std::printf("card:    %s\n", choice.spec.c_str());
    std::printf("result:  %u (%s)\n", r, result_meaning(r));
    std::printf("locked:  %s\n", locked ? "yes" : "no");
    std::printf("level:   %u %%\n", device.get_signal_level());
    std::printf("quality: %u %%\n", device.get_signal_quality());
    return r == result::ok && locked ? 0 : 1;
}

}  // namespace kestrel::cli
