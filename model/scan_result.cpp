#include "model/scan_result.h"

#include <cstdio>

#include "lib13818/names/si_names.h"

namespace kestrel {

void Transponder::set_tuning(const lib13818::DescriptorSatelliteDeliverySystem& delivery) {
    frequency = delivery.frequency;
    polarisation = delivery.polarization;
    symbol_rate = delivery.symbol_rate;
    FEC = delivery.FEC_inner;
    FEC_text = lib13818::fec_inner_name(delivery.FEC_inner);
}

void Transponder::set_tuning(const tuner_readback& tuner) {
    if (tuner.type != 1) return;
    frequency = tuner.frequency;
    polarisation = tuner.polarisation;
    FEC = tuner.fec;
    symbol_rate = tuner.symbol_rate_k / 1000.0;
    FEC_text = "AUTO";
}

namespace {

char polarisation_letter(std::int32_t polarisation) {
    static constexpr char letters[] = {'H', 'V', 'L', 'R'};
    return polarisation >= 0 && polarisation < 4 ? letters[polarisation] : 'U';
}

}  // namespace

std::string Transponder::short_label() const {
    char text[160];
    std::snprintf(text, sizeof text, "%d%c %s %d", static_cast<int>(frequency * 1000 + 0.5),
                  polarisation_letter(polarisation), FEC_text.c_str(), static_cast<int>(symbol_rate * 1000));
    return text;
}

std::string Transponder::label() const {
    char number[16];
    std::snprintf(number, sizeof number, "%04X - ", static_cast<unsigned>(transponder_number));
    return number + short_label();
}

void add_transponder(AllNetworks& networks, std::int32_t onid, std::int32_t tsid,
                     const Transponder& transponder, std::int32_t diseqc_position) {
    auto [it, added] = networks.try_emplace(onid);
    if (added) {
        it->second.original_network_id = onid;
        it->second.diseqc_position = diseqc_position;
    }
    it->second.transponders[tsid] = transponder;
}

bool contains_transponder(const AllNetworks& networks, std::int32_t onid, std::int32_t tsid) {
    const auto network = networks.find(onid);
    return network != networks.end() && network->second.transponders.count(tsid) != 0;
}

}  // namespace kestrel
