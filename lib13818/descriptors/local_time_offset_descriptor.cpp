#include "lib13818/descriptors/local_time_offset_descriptor.h"

#include "lib13818/core/value_text.h"

namespace lib13818 {

namespace {
constexpr std::size_t entry_size = 13;
}

DescriptorLocalTimeOffset::DescriptorLocalTimeOffset(reader r) : Descriptor(r) {
    offsets.reserve(r.remaining() / entry_size);
    while (!r.at_end()) {
        // A partial last entry would end past the descriptor: refuse it before reading it.
        if (r.remaining() < entry_size) throw error(messages::start_end_mismatch, r.position());
        Offset o;
        o.country_code = read_language_code(r);
        const std::uint8_t region = r.u8();
        o.country_region_id = region >> 2;
        o.local_time_offset_polarity = region & 1;
        o.local_time_offset = HourMinute::read(r);
        o.time_of_change = UtcTime::read(r);
        o.next_time_offset = HourMinute::read(r);
        offsets.push_back(o);
    }
}

void DescriptorLocalTimeOffset::dump_body(std::ostream& out) const {
    for (const Offset& o : offsets)
        out << "country_code: " << o.country_code.data() << '\n'
            << "country_region_id: " << o.country_region_id << '\n'
            << "local_time_offset_polarity: " << o.local_time_offset_polarity << '\n'
            << "local_time_offset: " << o.local_time_offset << '\n'
            << "time_of_change: " << o.time_of_change << '\n'
            << "next_time_offset: " << o.next_time_offset << '\n';
}

}  // namespace lib13818
