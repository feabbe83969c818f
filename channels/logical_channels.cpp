#include "channels/logical_channels.h"

#include <vector>

#include "lib13818/fields/catalogue.h"

namespace kestrel::channels {

namespace {

// Files the numbers of one transport stream entry's descriptors; keys already filed stay.
void add_numbers(std::int32_t onid, std::int32_t tsid,
                 const std::vector<lib13818::DescriptorDescribed>& described, channel_numbers& numbers) {
    for (const lib13818::DescriptorDescribed& d : described) {
        if (!d.is(lib13818::descriptions::logical_channel_eacem) &&
            !d.is(lib13818::descriptions::logical_channel_nordig))
            continue;
        for (const lib13818::described_record channel : d.records("channels")) {
            const auto sid = channel.number("service_id");
            const auto number = channel.number("logical_channel_number");
            if (!sid || !number) continue;
            const bool visible = channel.number("visible_service_flag").value_or(1) != 0;
            numbers.try_emplace({onid, tsid, static_cast<std::int32_t>(*sid)},
                                channel_number{static_cast<std::int32_t>(*number), visible});
        }
    }
}

void add_numbers(const NitMap& nits, channel_numbers& numbers) {
    for (const auto& [network_id, sections] : nits)
        for (const auto& [section_number, nit] : sections)
            for (const lib13818::NitTransportStream& ts : nit.transport_streams)
                add_numbers(ts.original_network_id, ts.transport_stream_id, ts.described, numbers);
}

}  // namespace

channel_numbers find_channel_numbers(const AllNetworks& networks) {
    channel_numbers numbers;
    for (const auto& [onid, network] : networks)
        for (const auto& [tsid, transponder] : network.transponders) {
            add_numbers(transponder.nit_actual, numbers);
            add_numbers(transponder.nit_other, numbers);
        }
    for (const auto& [onid, network] : networks)
        for (const auto& [tsid, transponder] : network.transponders)
            for (const lib13818::BatTransportStream& ts : transponder.BAT.transport_streams)
                add_numbers(ts.original_network_id, ts.transport_stream_id, ts.described, numbers);
    return numbers;
}

}  // namespace kestrel::channels
