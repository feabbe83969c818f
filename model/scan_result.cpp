#include "model/scan_result.h"

#include <cstdio>

#include "lib13818/delivery/delivery_codes.h"
#include "lib13818/names/si_names.h"

namespace kestrel {

void Transponder::set_tuning(const lib13818::DescriptorSatelliteDeliverySystem& descriptor) {
    frequency = descriptor.frequency;
    polarisation = descriptor.polarization;
    symbol_rate = descriptor.symbol_rate;
    FEC = descriptor.FEC_inner;
    FEC_text = lib13818::fec_inner_name(descriptor.FEC_inner);
    delivery =
        lib13818::satellite_delivery(lib13818::satellite_codes(descriptor.modulation, descriptor.FEC_inner));
}

void Transponder::set_tuning(const tuner_readback& tuner) {
    constexpr std::uint32_t dvb_s = 1, dvb_t = 3;
    if (tuner.type < dvb_s || tuner.type > dvb_t) return;
    frequency = tuner.frequency;
    polarisation = tuner.polarisation;
    FEC = tuner.fec;
    symbol_rate = tuner.symbol_rate_k / 1000.0;
    FEC_text = "AUTO";
    delivery = tuner.delivery;
}

lib13818::DeliverySystem Transponder::system() const {
    return delivery.system == lib13818::DeliverySystem::automatic ? lib13818::DeliverySystem::dvb_s
                                                                  : delivery.system;
}

namespace {

char polarisation_letter(std::int32_t polarisation) {
    static constexpr char letters[] = {'H', 'V', 'L', 'R'};
    return polarisation >= 0 && polarisation < 4 ? letters[polarisation] : 'U';
}

}  // namespace

std::string Transponder::short_label() const {
    using lib13818::DeliverySystem;
    char text[160];
    const DeliverySystem shown = system();
    const int ksymbols = static_cast<int>(symbol_rate * 1000);
    if (lib13818::is_satellite(shown)) {
        std::snprintf(text, sizeof text, "%d%c %s %d", static_cast<int>(frequency * 1000 + 0.5),
                      polarisation_letter(polarisation), FEC_text.c_str(), ksymbols);
    } else if (shown == DeliverySystem::dvb_c) {
        std::snprintf(text, sizeof text, "%.3f MHz %s %d", frequency * 1000,
                      lib13818::name(delivery.modulation), ksymbols);
    } else {
        std::snprintf(text, sizeof text, "%.3f MHz", frequency * 1000);
    }
    std::string out = text;
    if (lib13818::is_terrestrial(shown) && delivery.bandwidth_hz != lib13818::automatic)
        out += " " + lib13818::bandwidth_name(delivery.bandwidth_hz);
    if (shown == DeliverySystem::dvb_s2) out += std::string(" S2 ") + lib13818::name(delivery.modulation);
    if (shown == DeliverySystem::dvb_t2) out += " T2";
    if (lib13818::is_second_generation(shown) && delivery.stream_id != lib13818::automatic)
        out += (shown == DeliverySystem::dvb_s2 ? " ISI " : " PLP ") + std::to_string(delivery.stream_id);
    return out;
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
