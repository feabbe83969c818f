#include "lib13818/tables/nit.h"

#include "lib13818/descriptors/dump_descriptors.h"
#include "lib13818/fields/described_loop.h"
#include "lib13818/tables/loop_entry.h"
#include "lib13818/tables/network_loops.h"

namespace lib13818 {

NitTransportStream::NitTransportStream(reader& loop, std::vector<SectionWarning>& warnings) {
    reader loop_descriptors = read_transport_stream_head(loop, transport_stream_id, original_network_id);
    described_loop others(general, described, warnings);
    for_each_descriptor(loop_descriptors, loop_end::lenient, [&](int tag, reader d) {
        switch (tag) {
            case 0x09:
                CA.emplace_back(d);
                break;
            case 0x41:
                service_list.emplace_back(d);
                break;
            case 0x43:
                satellite_delivery_system.emplace_back(d);
                break;
            default:
                others.add(d);
                break;
        }
    });
}

void NitTransportStream::dump(std::ostream& out) const {
    dump_transport_stream_head(out, transport_stream_id, original_network_id);
    dump_descriptors(out, general, CA, satellite_delivery_system, service_list, described);
}

const char* Nit::name() const {
    if (table_id == 0x40) return "network_information_section - actual_transport_network";
    if (table_id == 0x41) return "network_information_section - other_transport_network";
    return "ERROR";
}

void Nit::parse_body(reader body) {
    reader loop = read_network_loops(body, *this, {descriptors, CA, described});
    transport_streams.reserve(count_entries(loop, transport_stream_head_size));
    while (!loop.at_end())
        transport_streams.emplace_back(loop, warnings);
}

void Nit::dump(std::ostream& out) const {
    dump_warnings(out, warnings);
    dump_descriptors(out, described);
    for (const NitTransportStream& ts : transport_streams)
        ts.dump(out);
}

}  // namespace lib13818
