#include "lib13818/core/section.h"

#include "lib13818/core/crc32.h"

namespace lib13818 {

namespace {
constexpr std::size_t header_size = 3;
// table_id_extension .. last_section_number, then CRC_32: the least a long section holds.
constexpr int32_t long_header_and_crc = 9;

int32_t read_length(const std::uint8_t* p) {
    return ((p[1] & 0x0F) << 8) | p[2];
}

// Refuses a section whose declared length runs past the bytes available.
void check_available(const std::uint8_t* section, std::size_t available, int32_t length) {
    if (available < header_size || header_size + static_cast<std::size_t>(length) > available)
        throw error(messages::too_little_data, section);
}
}  // namespace

std::size_t section_size(const std::uint8_t* p, std::size_t available) {
    return available < header_size ? 0 : header_size + static_cast<std::size_t>(read_length(p));
}

void Section::parse(const std::uint8_t* section, std::size_t available) {
    if (available < header_size) throw error(messages::too_little_data, section);
    section_length = read_length(section);
    check_available(section, available, section_length);
    const std::size_t size = header_size + static_cast<std::size_t>(section_length);

    // The CRC comes first, so that a corrupted section always reports "crc error".
    if (crc32(section, size) != 0) throw error(messages::crc_error);
    if ((section[1] & 0x80) == 0) throw error(error::kind_syntax, section);
    if (!check_syntax_indicator(section[1] >> 7)) throw error(error::kind_syntax, section + 1);
    if (!check_reserved((section[1] >> 4) & 3)) throw error(error::kind_syntax, section + 1);
    table_id = section[0];
    if (!is_valid_table_id()) throw error(messages::invalid_table_id);
    if (section_length < long_header_and_crc) throw error(messages::too_little_data, section + 1);

    table_id_extension = (section[3] << 8) | section[4];
    version_number = (section[5] >> 1) & 0x1F;
    current_next_indicator = section[5] & 1;
    section_number = section[6];
    last_section_number = section[7];
    reader crc(section + size - 4, 4);
    CRC_32 = crc.u32();

    parse_body(reader(section, section + body_offset,
                      static_cast<std::size_t>(section_length - long_header_and_crc)));
    parsed = true;
}

void dump_warnings(std::ostream& out, const std::vector<SectionWarning>& warnings) {
    for (const SectionWarning& w : warnings)
        out << std::dec << "warning at byte " << w.byte << ": " << w.text << '\n';
}

void ShortSection::parse(const std::uint8_t* section, std::size_t available) {
    if (available < header_size) throw error(messages::too_little_data, section);
    if (!check_syntax_indicator(section[1] >> 7)) throw error(error::kind_syntax, section);
    if ((section[1] & 0x0C) != 0) throw error(error::kind_syntax, section + 1);
    table_id = section[0];
    if (!is_valid_table_id()) throw error(messages::invalid_table_id);
    section_length = read_length(section);
    check_available(section, available, section_length);

    parse_body(reader(section, section + header_size, static_cast<std::size_t>(section_length)));
    parsed = true;
}

void ShortSection::dump(std::ostream& out) const {
    out << std::dec << "table_id: " << table_id << '\n' << "section_length: " << section_length << '\n';
}

}  // namespace lib13818
