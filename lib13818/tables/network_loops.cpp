#include "lib13818/tables/network_loops.h"

#include <string>

#include "lib13818/fields/described_loop.h"
#include "lib13818/tables/loop_entry.h"

namespace lib13818 {

void read_network_descriptors(reader loop, const network_descriptors& into,
                              std::vector<SectionWarning>& warnings) {
    described_loop others(into.general, into.described, warnings);
    for_each_descriptor(loop, loop_end::lenient, [&](int tag, reader d) {
        if (tag == 0x09)
            into.CA.emplace_back(d);
        else
            others.add(d);
    });
}

reader read_network_loops(reader& body, Section& table, const network_descriptors& into) {
    const std::uint8_t* start = body.position();
    read_network_descriptors(body.sub(static_cast<std::size_t>(body.length12())), into, table.warnings);
    const std::size_t field = Section::body_offset + static_cast<std::size_t>(body.position() - start);
    const auto declared = static_cast<std::size_t>(body.length12());
    const std::size_t left = body.remaining();
    if (declared != left && holds_whole_entries(body, transport_stream_head_size)) {
        table.warnings.push_back(
            {field, "transport_stream_loop_length " + std::to_string(declared) + " disagrees with the " +
                        std::to_string(left) +
                        " bytes before the CRC_32, which hold whole entries: read those"});
        return body.sub(left);
    }
    return body.sub(declared);
}

reader read_transport_stream_head(reader& loop, int32_t& transport_stream_id, int32_t& original_network_id) {
    loop.need(transport_stream_head_size);
    transport_stream_id = loop.u16();
    original_network_id = loop.u16();
    return entry_descriptors(loop, static_cast<std::size_t>(loop.length12()));
}

void dump_transport_stream_head(std::ostream& out, int32_t transport_stream_id, int32_t original_network_id) {
    out << std::dec << "stream_id " << transport_stream_id << '\n'
        << "original_network_id " << original_network_id << '\n';
}

}  // namespace lib13818
