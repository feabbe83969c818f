#include "lib13818/tables/rst.h"

namespace lib13818 {

namespace {
constexpr std::size_t entry_size = 9;
}

void Rst::parse_body(reader body) {
    entries.reserve(body.remaining() / entry_size);
    while (!body.at_end()) {
        // A partial last entry would end past the section: refuse it before reading it.
        if (body.remaining() < entry_size) throw error(messages::start_end_mismatch, body.position());
        RstEntry e;
        e.transport_stream_id = body.u16();
        e.original_network_id = body.u16();
        e.service_id = body.u16();
        e.event_id = body.u16();
        e.running_status = body.u8() & 7;
        entries.push_back(e);
    }
}

void Rst::dump(std::ostream& out) const {
    ShortSection::dump(out);
    for (const RstEntry& e : entries)
        out << "transport_stream_id: " << e.transport_stream_id << '\n'
            << "original_network_id: " << e.original_network_id << '\n'
            << "service_id: " << e.service_id << '\n'
            << "event_id: " << e.event_id << '\n'
            << "running_status: " << e.running_status << '\n';
}

}  // namespace lib13818
