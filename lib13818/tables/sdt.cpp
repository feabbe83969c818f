#include "lib13818/tables/sdt.h"

#include "lib13818/descriptors/dump_descriptors.h"
#include "lib13818/fields/described_loop.h"
#include "lib13818/tables/loop_entry.h"

namespace lib13818 {

namespace {
constexpr std::size_t service_head_size = 5;
}

SdtService::SdtService(reader& loop, std::vector<SectionWarning>& warnings) {
    loop.need(service_head_size);
    service_id = loop.u16();
    const std::uint8_t eit_flags = loop.u8();
    EIT_schedule_flag = (eit_flags >> 1) & 1;
    EIT_present_following_flag = eit_flags & 1;
    const std::uint16_t flags = loop.u16();
    running_status = flags >> 13;
    free_CA_mode = (flags >> 12) & 1;
    reader loop_descriptors = entry_descriptors(loop, flags & 0x0FFFu);
    described_loop others(general, described, warnings);
    for_each_descriptor(loop_descriptors, loop_end::lenient, [&](int tag, reader d) {
        switch (tag) {
            case 0x09:
                CA.emplace_back(d);
                break;
            case 0x48:
                service.emplace_back(d);
                break;
            default:
                others.add(d);
                break;
        }
    });
}

void SdtService::dump(std::ostream& out) const {
    out << std::dec << "service_id " << service_id << '\n'
        << "EIT_schedule_flag " << EIT_schedule_flag << '\n'
        << "EIT_present_following_flag " << EIT_present_following_flag << '\n'
        << "running_status " << running_status << '\n'
        << "free_CA_mode " << free_CA_mode << '\n';
    dump_descriptors(out, general, CA, service, described);
}

const char* Sdt::name() const {
    if (table_id == 0x42) return "service_description_section - actual_transport_stream";
    if (table_id == 0x46) return "service_description_section - other_transport_stream";
    return "ERROR";
}

void Sdt::parse_body(reader body) {
    original_network_id = body.u16();
    body.skip(1);
    services.reserve(count_entries(body, service_head_size));
    while (!body.at_end())
        services.emplace_back(body, warnings);
}

void Sdt::dump(std::ostream& out) const {
    dump_warnings(out, warnings);
    out << std::dec << "original_network_id " << original_network_id << '\n';
    for (const SdtService& s : services)
        s.dump(out);
}

}  // namespace lib13818
