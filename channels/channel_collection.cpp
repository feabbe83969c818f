#include "channels/channel_collection.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "channels/logical_channels.h"
#include "channels/program_streams.h"
#include "dbexport/row_values.h"

namespace kestrel::channels {

namespace {

// Orbital positions in tenths of a degree, east positive, from the satellite delivery
// descriptors of every NIT scanned: by transport stream, and the first one of each network.
struct orbital_positions {
    std::map<std::pair<std::int32_t, std::int32_t>, std::int32_t> by_stream;
    std::map<std::int32_t, std::int32_t> by_network;

    void add(const NitMap& nits) {
        for (const auto& [network_id, sections] : nits)
            for (const auto& [section_number, nit] : sections)
                for (const lib13818::NitTransportStream& ts : nit.transport_streams)
                    for (const lib13818::DescriptorSatelliteDeliverySystem& d :
                         ts.satellite_delivery_system) {
                        const auto tenths = static_cast<std::int32_t>(std::lround(d.orbital_position * 10));
                        const std::int32_t signed_tenths = d.west_east_flag != 0 ? tenths : -tenths;
                        by_stream.try_emplace({ts.original_network_id, ts.transport_stream_id},
                                              signed_tenths);
                        by_network.try_emplace(ts.original_network_id, signed_tenths);
                    }
    }

    std::optional<std::int32_t> of(std::int32_t onid, std::int32_t tsid) const {
        if (const auto it = by_stream.find({onid, tsid}); it != by_stream.end()) return it->second;
        if (const auto it = by_network.find(onid); it != by_network.end()) return it->second;
        return std::nullopt;
    }
};

orbital_positions find_orbital_positions(const AllNetworks& networks) {
    orbital_positions positions;
    for (const auto& [onid, network] : networks)
        for (const auto& [tsid, transponder] : network.transponders) {
            positions.add(transponder.nit_actual);
            positions.add(transponder.nit_other);
        }
    return positions;
}

// An SDT may name a service with an empty text; a list still needs something to show.
std::string listed_name(const std::string& name, std::int32_t service_id) {
    if (name.find_first_not_of(' ') != std::string::npos) return name;
    return "<service " + std::to_string(service_id) + ">";
}

channel_tuning tuning_of(const Transponder& transponder, const Network& network, std::int32_t tsid,
                         const orbital_positions& positions) {
    channel_tuning tuning;
    tuning.system = transponder.system();
    tuning.frequency_khz = std::llround(transponder.frequency * 1e6);
    tuning.polarisation = transponder.polarisation;
    // Symbol rates are signalled in units of 100 symbols per second.
    tuning.symbol_rate = std::llround(transponder.symbol_rate * 1e4) * 100;
    tuning.delivery = transponder.delivery;
    tuning.delivery.system = tuning.system;
    if (tuning.system == lib13818::DeliverySystem::dvb_t2 && tuning.delivery.stream_id == lib13818::automatic)
        tuning.delivery.stream_id = 0;
    if (lib13818::is_satellite(tuning.system))
        tuning.orbital_tenths = positions.of(network.original_network_id, tsid);
    tuning.diseqc_position = network.diseqc_position;
    return tuning;
}

}  // namespace

std::vector<channel_entry> collect_channels(const AllNetworks& networks) {
    const channel_numbers numbers = find_channel_numbers(networks);
    const orbital_positions positions = find_orbital_positions(networks);
    std::vector<channel_entry> entries;
    for (const auto& [onid, network] : networks) {
        lib13818::dvb_text_decoder text = dbexport::network_text_decoder(network);
        for (const auto& [tsid, transponder] : network.transponders) {
            const channel_tuning tuning = tuning_of(transponder, network, tsid, positions);
            std::set<std::int32_t> listed;
            for (const lib13818::PatProgram& program : transponder.PAT.programs) {
                if (program.program_number == 0 || !listed.insert(program.program_number).second) continue;
                const dbexport::service_values service =
                    dbexport::describe_service(program, transponder, onid, tsid, text);
                channel_entry& entry = entries.emplace_back();
                entry.name = listed_name(service.service_name, program.program_number);
                entry.provider = service.provider_name;
                entry.service_id = program.program_number;
                entry.original_network_id = onid;
                entry.transport_stream_id = tsid;
                if (service.pmt != nullptr) add_program_streams(*service.pmt, entry);
                entry.tuning = tuning;
                if (const auto it = numbers.find({onid, tsid, entry.service_id}); it != numbers.end()) {
                    entry.logical_channel = it->second.number;
                    entry.visible = it->second.visible;
                }
            }
        }
    }
    order_channels(entries);
    return entries;
}

void order_channels(std::vector<channel_entry>& entries) {
    const auto key = [](const channel_entry& e) {
        const int group = !e.logical_channel ? 2 : e.visible ? 0 : 1;
        const std::int32_t first = e.logical_channel ? *e.logical_channel : e.service_id;
        return std::make_tuple(group, first, e.original_network_id, e.transport_stream_id, e.service_id);
    };
    std::stable_sort(entries.begin(), entries.end(),
                     [&key](const channel_entry& a, const channel_entry& b) { return key(a) < key(b); });
}

}  // namespace kestrel::channels
