#include "lib13818/tables/pmt.h"

namespace lib13818 {

ElementaryStream ElementaryStream::read(reader& loop, std::vector<SectionWarning>& warnings) {
    constexpr std::size_t head_size = 5;
    loop.need(head_size);
    ElementaryStream s;
    s.stream_type = loop.u8();
    s.elementary_PID = loop.u16() & 0x1FFF;
    const auto ES_info_length = static_cast<std::size_t>(loop.length12());
    s.read_loop(loop.sub(ES_info_length), loop_end::lenient, teletext_kind::decoded, warnings);
    return s;
}

void Pmt::parse_body(reader body) {
    PCR_PID = body.u16() & 0x1FFF;
    const auto program_info_length = static_cast<std::size_t>(body.length12());
    read_loop(body.sub(program_info_length), loop_end::exact, teletext_kind::generic, warnings);
    while (!body.at_end())
        streams.push_back(ElementaryStream::read(body, warnings));
}

void Pmt::collect_CA(std::vector<DescriptorCA>& out) const {
    out.insert(out.end(), CA.begin(), CA.end());
    for (const ElementaryStream& s : streams)
        out.insert(out.end(), s.CA.begin(), s.CA.end());
}

void Pmt::dump(std::ostream& out) const {
    out << std::dec << "program_number: " << table_id_extension << '\n'
        << "version_number: " << version_number << '\n'
        << "section_number: " << section_number << '\n'
        << "last_section_number: " << last_section_number << '\n'
        << "current_next_indicator: " << current_next_indicator << '\n'
        << "pcr_pid: " << PCR_PID << '\n';
    dump_warnings(out, warnings);
    PmtDescriptors::dump(out);
    out << std::dec << "Dumping " << streams.size() << " stream infos\n";
    for (const ElementaryStream& s : streams) {
        out << std::dec << "stream_type: " << s.stream_type << '\n'
            << "elementary_PID: " << s.elementary_PID << '\n';
        s.dump(out);
    }
    out << std::dec;
}

}  // namespace lib13818
