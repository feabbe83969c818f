// The scans of more than one transport stream: every transport stream the current NIT
// lists, and every one the NITs of the configured satellites list. DVB-S only.

#include "device/card.h"
#include "log/trace_log.h"
#include "scan/si_reader.h"
#include "settings/keys.h"

namespace kestrel {

namespace {

constexpr std::int32_t fec_automatic = 15;

// A transport stream of the NIT as its satellite delivery system descriptor gives it.
TUNERPARM tuning_of(const lib13818::DescriptorSatelliteDeliverySystem& delivery, std::uint32_t position,
                    std::int32_t twelve_volt) {
    TUNERPARM t;
    t.type = frontend_dvb_s;
    t.frequency = delivery.frequency;
    t.word_a = delivery.polarization;
    t.word_b = delivery.FEC_inner;
    t.word_c = static_cast<std::uint32_t>(delivery.symbol_rate * 1'000'000);
    t.word_d = position;
    t.word_e = twelve_volt;
    return t;
}

// A transponder of the satellite list at a DiSEqC position: MHz to GHz, kilosymbols to
// symbols per second, a FEC outside 1..5 as automatic.
TUNERPARM tuning_of(const satellite_transponder& record, std::uint32_t position) {
    TUNERPARM t;
    t.type = frontend_dvb_s;
    t.frequency = record.frequency / 1000.0;
    t.word_a = record.polarisation;
    t.word_b = record.fec >= 1 && record.fec <= 5 ? record.fec : fec_automatic;
    t.word_c = static_cast<std::uint32_t>(static_cast<std::int64_t>(record.symbol_rate) * 1000);
    t.word_d = position;
    return t;
}

bool has_sections(const NitMap& nit) {
    return !nit.empty() && !nit.begin()->second.empty();
}

}  // namespace

std::optional<std::uint32_t> si_reader::restore_tuning(TUNERPARM saved) {
    global_trace().log(2, "restoring tuner");
    if (device_.get_frontend_type() != frontend_dvb_s) return std::nullopt;
    saved.word_c *= 1000;
    return device_.set_tuner(saved);
}

std::int32_t si_reader::nit_walk(AllNetworks& networks, const NitMap& nit, std::int32_t twelve_volt,
                                 std::uint32_t position) {
    if (!has_sections(nit)) return 0;
    global_trace().log(2, "%d NIT sections", static_cast<int>(nit.size()));
    TUNERPARM saved;
    // A tuning that could not be read back is not put back either.
    const bool tuning_saved = device_.get_tuner(saved) == result::ok;
    for (const auto& [number, section] : nit.begin()->second) {
        global_trace().log(2, "%d transponders in NIT section",
                           static_cast<int>(section.transport_streams.size()));
        for (const lib13818::NitTransportStream& stream : section.transport_streams) {
            if (stopping()) break;
            const std::uint32_t frontend = device_.get_frontend_type();
            if (frontend == frontend_dvb_c || frontend == frontend_dvb_t) continue;
            if (frontend != frontend_dvb_s) return 0;
            if (stream.satellite_delivery_system.empty()) continue;
            const std::uint32_t r =
                device_.set_tuner(tuning_of(stream.satellite_delivery_system.front(), position, twelve_volt));
            if (r != result::ok) {
                global_trace().log(2, "failed setting tuner : %lu", static_cast<unsigned long>(r));
                continue;
            }
            global_trace().log(2, "scanning transponder");
            scan_transponder(networks);
        }
    }
    if (!tuning_saved) {
        global_trace().log(1, "tuner not read back - not restored");
    } else if (restore_tuning(saved)) {
        global_trace().log(2, "tuner restored");
    }
    return 0;
}

int si_reader::current_nit(AllNetworks& networks) {
    NitMap nit;
    read_nit(nit);
    std::uint32_t twelve_volt = 0;
    if (device_.get_12v(&twelve_volt) != result::ok) twelve_volt = 0;
    double frequency = 0;
    int polarisation = 0, fec = 0;
    unsigned long symbol_rate = 0, position = 0;
    device_.get_tuner(frequency, polarisation, fec, symbol_rate, position);
    if (!has_sections(nit)) {
        progress_.message("Failed to read NIT");
        return -1;
    }
    nit_walk(networks, nit, static_cast<std::int32_t>(twelve_volt), static_cast<std::uint32_t>(position));
    global_trace().log(2, "%d NIT sections", static_cast<int>(nit.size()));
    return 1;
}

// The satellite list cannot say DVB-S2.
std::uint32_t si_reader::tune_start_transponder(TUNERPARM tuning) {
    const std::uint32_t r = device_.set_tuner(tuning);
    if (r != result::failed || !device_.offers_system(lib13818::DeliverySystem::dvb_s2)) return r;
    global_trace().log(2, "not locked as DVB-S - trying DVB-S2");
    tuning.delivery.system = lib13818::DeliverySystem::dvb_s2;
    return device_.set_tuner(tuning);
}

int si_reader::configured_satellites(AllNetworks& networks) {
    TUNERPARM saved;
    const std::uint32_t got = device_.get_tuner(saved);
    if (got != result::ok)
        global_trace().log(1, "error getting old tuner: %d", static_cast<int>(got));
    else
        global_trace().log(1, "got old tuner. freq=%f", saved.frequency);
    for (std::uint32_t position = 0; position < 4 && !stopping(); ++position) {
        const std::string name = settings::read(settings_, settings::lnb_satellite[position]);
        const auto* records = name.empty() ? nullptr : satellites_.find(name);
        if (records == nullptr) continue;
        for (const satellite_transponder& record : *records) {
            if (stopping()) break;
            // A transponder that cannot be tuned has no NIT to read.
            if (const std::uint32_t r = tune_start_transponder(tuning_of(record, position));
                r != result::ok) {
                global_trace().log(1, "failed setting tuner : %lu - NIT not read",
                                   static_cast<unsigned long>(r));
                continue;
            }
            NitMap nit;
            read_nit(nit);
            nit_walk(networks, nit, 0, position);
        }
    }
    if (got != result::ok) {
        global_trace().log(1, "tuner not read back - not restored");
    } else if (const auto r = restore_tuning(saved)) {
        if (*r != result::ok)
            global_trace().log(1, "error setting old tuner: %d", static_cast<int>(*r));
        else
            global_trace().log(2, "tuner restored");
    }
    return 1;
}

}  // namespace kestrel
