#include "lib13818/tables/eit.h"

#include "lib13818/core/value_text.h"
#include "lib13818/descriptors/dump_descriptors.h"
#include "lib13818/fields/described_loop.h"
#include "lib13818/tables/loop_entry.h"

namespace lib13818 {

namespace {
constexpr std::size_t event_head_size = 12;
}

EitEvent::EitEvent(reader& loop, std::vector<SectionWarning>& warnings) {
    event_id = loop.u16();
    start_time = UtcTime::read(loop);
    duration = Duration::read(loop);
    const std::uint16_t flags = loop.u16();
    running_status = flags >> 13;
    free_CA_mode = (flags >> 12) & 1;
    descriptors_loop_length = flags & 0x0FFF;
    reader loop_descriptors = entry_descriptors(loop, static_cast<std::size_t>(descriptors_loop_length));
    reserve(loop_descriptors);
    described_loop others(general, described, warnings);
    for_each_descriptor(loop_descriptors, loop_end::lenient, [&](int tag, reader d) {
        switch (tag) {
            case 0x4D:
                short_event.emplace_back(d);
                break;
            case 0x4E:
                extended_event.emplace_back(d);
                break;
            case 0x4F:
                time_shifted_event.emplace_back(d);
                break;
            case 0x50:
                component.emplace_back(d);
                break;
            case 0x54:
                content.emplace_back(d);
                break;
            default:
                others.add(d);
                break;
        }
    });
}

void EitEvent::reserve(reader loop_descriptors) {
    std::size_t short_events = 0, extended_events = 0, components = 0, contents = 0, others = 0;
    count_descriptors(loop_descriptors, [&](std::uint8_t tag) {
        short_events += tag == 0x4D;
        extended_events += tag == 0x4E;
        components += tag == 0x50;
        contents += tag == 0x54;
        others += tag != 0x4D && tag != 0x4E && tag != 0x4F && tag != 0x50 && tag != 0x54;
    });
    short_event.reserve(short_events);
    extended_event.reserve(extended_events);
    component.reserve(components);
    content.reserve(contents);
    described.reserve(others);
}

void EitEvent::dump(std::ostream& out) const {
    out << std::dec << "event_id: " << event_id << '\n'
        << "start_time: " << start_time << '\n'
        << "duration: " << duration << '\n'
        << "running_status: " << running_status << '\n'
        << "free_CA_mode: " << free_CA_mode << '\n'
        << "descriptors_length: " << descriptors_loop_length << '\n';
    dump_descriptors(out, general, short_event, extended_event, time_shifted_event, component, content,
                     described);
}

const char* Eit::name() const {
    if (table_id == 0x4E) return "event_information_section - actual_transport_stream, present/following";
    if (table_id == 0x4F) return "event_information_section - other_transport_stream, present/following";
    if (table_id >= 0x50 && table_id <= 0x5F)
        return "event_information_section - actual_transport_stream, schedule";
    if (table_id >= 0x60 && table_id <= 0x6F)
        return "event_information_section - other_transport_stream, schedule";
    return "<unknown>";
}

void Eit::clear() {
    events.clear();
}

void Eit::parse_body(reader body) {
    transport_stream_id = body.u16();
    original_network_id = body.u16();
    segment_last_section_number = body.u8();
    last_table_id = body.u8();
    events.reserve(count_entries(body, event_head_size));
    while (!body.at_end())
        events.emplace_back(body, warnings);
}

void Eit::dump(std::ostream& out) const {
    dump_warnings(out, warnings);
    out << std::dec << "service_id: " << table_id_extension << '\n'
        << "transport_stream_id: " << transport_stream_id << '\n'
        << "original_network_id: " << original_network_id << '\n'
        << "segment_last_section_number: " << segment_last_section_number << '\n'
        << "last_table_id: " << last_table_id << '\n';
    for (const EitEvent& e : events)
        e.dump(out);
}

}  // namespace lib13818
