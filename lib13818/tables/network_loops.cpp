#include "lib13818/tables/network_loops.h"

#include "lib13818/tables/loop_entry.h"

namespace lib13818 {

void read_ca_and_general(reader loop, std::vector<DescriptorGeneric>& general,
                         std::vector<DescriptorCA>& ca) {
    for_each_descriptor(loop, loop_end::lenient, [&](int tag, reader d) {
        if (tag == 0x09)
            ca.emplace_back(d);
        else
            general.emplace_back(d);
    });
}

reader read_network_loops(reader& body, std::vector<DescriptorGeneric>& general,
                          std::vector<DescriptorCA>& ca) {
    read_ca_and_general(body.sub(static_cast<std::size_t>(body.length12())), general, ca);
    return body.sub(static_cast<std::size_t>(body.length12()));
}

reader read_transport_stream_head(reader& loop, int32_t& transport_stream_id, int32_t& original_network_id) {
    loop.need(6);
    transport_stream_id = loop.u16();
    original_network_id = loop.u16();
    return entry_descriptors(loop, static_cast<std::size_t>(loop.length12()));
}

void dump_transport_stream_head(std::ostream& out, int32_t transport_stream_id, int32_t original_network_id) {
    out << std::dec << "stream_id " << transport_stream_id << '\n'
        << "original_network_id " << original_network_id << '\n';
}

}  // namespace lib13818
