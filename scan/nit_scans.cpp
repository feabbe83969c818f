// The scans of more than one transport stream: every transport stream the current NIT
// lists, on the card's own family, and every one the NITs of the configured satellites list.

#include "device/card.h"
#include "log/trace_log.h"
#include "scan/nit_tunings.h"
#include "scan/si_reader.h"
#include "settings/keys.h"

namespace kestrel {

namespace {

constexpr std::int32_t fec_automatic = 15;
// How long a tuning of the walk may take to lock.
constexpr std::uint32_t walk_lock_ms = 2000;

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
    const std::uint32_t frontend = device_.get_frontend_type();
    if (frontend != frontend_dvb_s && frontend != frontend_dvb_c && frontend != frontend_dvb_t)
        return std::nullopt;
    if (frontend == frontend_dvb_s) saved.word_c *= 1000;
    return device_.set_tuner(saved);
}

void si_reader::walk_note(const std::string& text) {
    global_trace().log(2, "%s", text.c_str());
    progress_.note(text);
}

bool si_reader::tune_and_lock(const TUNERPARM& tuning) {
    walk_note("tuning " + tuning_text(tuning));
    std::uint32_t r = device_.set_tuner(tuning);
    if (r == result::ok && !device_.wait_for_lock(walk_lock_ms)) r = result::failed;
    if (r != result::ok) global_trace().log(2, "failed setting tuner : %lu", static_cast<unsigned long>(r));
    return r == result::ok;
}

void si_reader::walk_entry(AllNetworks& networks, const lib13818::NitTransportStream& entry,
                           const walk_context& context, std::vector<TUNERPARM>& tuned) {
    if (contains_transponder(networks, entry.original_network_id, entry.transport_stream_id)) return;
    const entry_tunings found = tunings_of(entry, context);
    for (const std::string& warning : found.warnings)
        walk_note(warning);
    if (!found.skipped.empty()) walk_note("skipped " + found.skipped);
    for (std::size_t i = 0; i < found.tunings.size() && !stopping(); ++i) {
        const TUNERPARM& tuning = found.tunings[i];
        bool known = false;
        for (const TUNERPARM& before : tuned)
            known = known || same_signal(before, tuning);
        // The first tuning known means the transport stream was received already.
        if (known && i == 0) return;
        if (known) continue;
        if (i > 0) walk_note("trying the next frequency of the transport stream");
        tuned.push_back(tuning);
        if (!tune_and_lock(tuning)) continue;
        global_trace().log(2, "scanning transponder");
        scan_transponder(networks);
        return;
    }
}

std::int32_t si_reader::nit_walk(AllNetworks& networks, const NitMap& nit, std::int32_t twelve_volt,
                                 std::uint32_t position) {
    if (!has_sections(nit)) return 0;
    global_trace().log(2, "%d NIT sections", static_cast<int>(nit.size()));
    walk_context context;
    context.frontend = static_cast<std::int32_t>(device_.get_frontend_type());
    if (context.frontend != frontend_dvb_s && context.frontend != frontend_dvb_c &&
        context.frontend != frontend_dvb_t)
        return 0;
    // A tuning that could not be read back is not put back either.
    const bool tuning_saved = device_.get_tuner(context.tuned) == result::ok;
    const TUNERPARM saved = context.tuned;
    if (context.frontend == frontend_dvb_s) context.tuned.word_c *= 1000;
    context.position = position;
    context.twelve_volt = twelve_volt;
    context.offers_s2 = device_.offers_system(lib13818::DeliverySystem::dvb_s2);
    context.offers_t2 = device_.offers_system(lib13818::DeliverySystem::dvb_t2);
    std::vector<TUNERPARM> tuned;
    for (const auto& [number, section] : nit.begin()->second) {
        global_trace().log(2, "%d transponders in NIT section",
                           static_cast<int>(section.transport_streams.size()));
        for (const lib13818::NitTransportStream& entry : section.transport_streams) {
            if (stopping()) break;
            walk_entry(networks, entry, context, tuned);
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
    TUNERPARM now;
    const std::uint32_t position = device_.get_tuner(now) == result::ok ? now.word_d : 0;
    if (!has_sections(nit)) {
        progress_.message("Failed to read NIT");
        return -1;
    }
    nit_walk(networks, nit, static_cast<std::int32_t>(twelve_volt),
             now.type == static_cast<std::uint32_t>(frontend_dvb_s) ? position : 0);
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
