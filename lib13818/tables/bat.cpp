#include "lib13818/tables/bat.h"

#include "lib13818/descriptors/dump_descriptors.h"
#include "lib13818/tables/loop_entry.h"
#include "lib13818/tables/network_loops.h"

namespace lib13818 {

BatTransportStream::BatTransportStream(reader& loop, std::vector<SectionWarning>& warnings) {
    read_network_descriptors(read_transport_stream_head(loop, transport_stream_id, original_network_id),
                             {general, CA, described}, warnings);
}

void BatTransportStream::dump(std::ostream& out) const {
    dump_transport_stream_head(out, transport_stream_id, original_network_id);
    dump_descriptors(out, general, CA, described);
}

void Bat::parse_body(reader body) {
    reader loop = read_network_loops(body, *this, {descriptors, CA, described});
    transport_streams.reserve(count_entries(loop, transport_stream_head_size));
    while (!loop.at_end())
        transport_streams.emplace_back(loop, warnings);
}

void Bat::dump(std::ostream& out) const {
    dump_warnings(out, warnings);
    dump_descriptors(out, described);
    for (const BatTransportStream& ts : transport_streams)
        ts.dump(out);
}

}  // namespace lib13818
