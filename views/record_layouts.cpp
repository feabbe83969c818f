#include "views/record_layouts.h"

#include <algorithm>

namespace kestrel::views {

namespace {

using from = row_place::from;

constexpr row_place at(std::uint16_t bit, std::uint16_t bits) {
    return {from::start, bit, bits};
}
constexpr row_place rest(std::uint16_t bit) {
    return {from::rest, bit, 0};
}
constexpr row_place after_loop(std::uint8_t length_byte, std::uint16_t bit, std::uint16_t bits) {
    return {from::after_loop, bit, bits, length_byte};
}
constexpr row_place prefix(std::uint8_t first_run, std::uint8_t index) {
    return {from::prefix, 0, 0, first_run, index};
}
constexpr row_place prefixed(std::uint8_t first_run, std::uint8_t index) {
    return {from::prefixed, 0, 0, first_run, index};
}

// The fields every section of the long form begins with, and its CRC_32.
constexpr row_place table_id = at(0, 8);
constexpr row_place syntax_indicator = at(8, 1);
constexpr row_place private_indicator = at(9, 1);
constexpr row_place reserved_head = at(10, 2);
constexpr row_place section_length = at(12, 12);
constexpr row_place id_extension = at(24, 16);
constexpr row_place reserved_version = at(40, 2);
constexpr row_place version_number = at(42, 5);
constexpr row_place current_next = at(47, 1);
constexpr row_place section_number = at(48, 8);
constexpr row_place last_section_number = at(56, 8);
constexpr row_place crc_32{from::end, 32, 32};

// Descriptors begin with their tag and length.
constexpr row_place tag = at(0, 8);
constexpr row_place length = at(8, 8);

constexpr row_place cat[] = {table_id,     syntax_indicator, section_length,      version_number,
                             current_next, section_number,   last_section_number, crc_32};
constexpr row_place pat[] = {table_id,       syntax_indicator,    section_length,
                             id_extension,   version_number,      current_next,
                             section_number, last_section_number, crc_32};
constexpr row_place pmt[] = {
    table_id,         syntax_indicator, reserved_head, section_length, id_extension,
    reserved_version, version_number,   current_next,  section_number, last_section_number,
    at(64, 3),        at(67, 13),       at(84, 12),    crc_32};
constexpr row_place elementary_stream[] = {at(0, 8), at(8, 3), at(11, 13), at(24, 4), at(28, 12)};
// The transport_stream_loop_length follows the network descriptors, whose length stands
// in bytes 8 and 9.
constexpr row_place nit[] = {table_id,       syntax_indicator,    private_indicator,    reserved_head,
                             section_length, id_extension,        reserved_version,     version_number,
                             current_next,   section_number,      last_section_number,  at(64, 4),
                             at(68, 12),     after_loop(8, 0, 4), after_loop(8, 4, 12), crc_32};
constexpr row_place transport_stream[] = {at(0, 16), at(16, 16), at(32, 4), at(36, 12)};
constexpr row_place sdt[] = {table_id,
                             syntax_indicator,
                             private_indicator,
                             reserved_head,
                             section_length,
                             id_extension,
                             reserved_version,
                             version_number,
                             current_next,
                             section_number,
                             last_section_number,
                             at(64, 16),
                             at(80, 8),
                             crc_32};
constexpr row_place service[] = {at(0, 16), at(16, 6), at(22, 1), at(23, 1),
                                 at(24, 3), at(27, 1), at(28, 12)};
constexpr row_place bat[] = {table_id,     section_length, id_extension, version_number,
                             current_next, section_number, crc_32};
constexpr row_place eit[] = {table_id,       section_length,      id_extension, version_number, current_next,
                             section_number, last_section_number, at(64, 16),   at(80, 16),     at(104, 8),
                             crc_32};
constexpr row_place event[] = {at(0, 16), at(16, 40), at(56, 24), at(80, 3), at(83, 1)};
constexpr row_place rst[] = {table_id, section_length};
constexpr row_place rst_entry[] = {at(0, 16), at(16, 16), at(32, 16), at(48, 16), at(69, 3)};
constexpr row_place tdt[] = {table_id, section_length, at(24, 40)};
constexpr row_place tot[] = {table_id, section_length, at(24, 40), crc_32};

constexpr row_place head[] = {tag, length};
constexpr row_place ca[] = {tag, length, at(16, 16), at(35, 13), rest(48)};
constexpr row_place generic[] = {tag, length, rest(16)};
constexpr row_place video_stream[] = {at(16, 1), at(17, 4), at(21, 1), at(22, 1), at(23, 1),
                                      at(24, 8), at(32, 2), at(34, 1), at(35, 5)};
constexpr row_place language[] = {at(0, 24), at(24, 8)};
// The seed's modulation is the five bits that roll_off, modulation_system and
// modulation_type split.
constexpr row_place satellite_delivery[] = {tag,        length,    at(16, 32), at(48, 16),
                                            at(64, 1),  at(65, 2), at(67, 5),  at(72, 28),
                                            at(100, 4), at(67, 2), at(69, 1),  at(70, 2)};
constexpr row_place service_descriptor[] = {
    tag, length, at(16, 8), prefix(3, 0), prefixed(3, 0), prefix(3, 1), prefixed(3, 1)};
constexpr row_place listed_service[] = {at(0, 16), at(16, 8)};
constexpr row_place teletext_page[] = {at(0, 24), at(24, 5), at(29, 3), at(32, 8)};
constexpr row_place component[] = {tag, length, at(20, 4), at(24, 8), at(32, 8), at(40, 24), rest(64)};
// The item list is a run of its own, prefixed by its length, before the text.
constexpr row_place extended_event[] = {tag, length, at(16, 4), at(24, 24), prefixed(6, 1)};
constexpr row_place extended_event_item[] = {prefixed(0, 0), prefixed(0, 1)};
constexpr row_place short_event[] = {tag, length, at(16, 24), prefixed(5, 0), prefixed(5, 1)};
constexpr row_place time_shifted_event[] = {tag, length, at(16, 16), at(32, 16)};
constexpr row_place content_item[] = {at(0, 4), at(4, 4), at(8, 4), at(12, 4)};
constexpr row_place local_time_offset[] = {at(0, 24),  at(24, 6),  at(31, 1),
                                           at(32, 16), at(48, 40), at(88, 16)};
constexpr row_place copyright[] = {tag, length, at(16, 32), rest(48)};
constexpr row_place ca_system[] = {at(0, 16)};
constexpr row_place audio_stream[] = {tag, length, at(16, 1), at(17, 1), at(18, 2), at(20, 1)};
constexpr row_place std_descriptor[] = {tag, length, at(23, 1)};
constexpr row_place private_data_indicator[] = {tag, length, at(16, 32)};
constexpr row_place stream_identifier[] = {tag, length, at(16, 8)};

struct layouts {
    using places = std::span<const row_place>;
    places operator()(const lib::Cat*) const { return cat; }
    places operator()(const lib::Pat*) const { return pat; }
    places operator()(const lib::Pmt*) const { return pmt; }
    places operator()(const lib::ElementaryStream*) const { return elementary_stream; }
    places operator()(const lib::Nit*) const { return nit; }
    places operator()(const lib::NitTransportStream*) const { return transport_stream; }
    places operator()(const lib::Sdt*) const { return sdt; }
    places operator()(const lib::SdtService*) const { return service; }
    places operator()(const lib::Bat*) const { return bat; }
    places operator()(const lib::Eit*) const { return eit; }
    places operator()(const lib::EitEvent*) const { return event; }
    places operator()(const lib::Rst*) const { return rst; }
    places operator()(const lib::RstEntry*) const { return rst_entry; }
    places operator()(const lib::Tdt*) const { return tdt; }
    places operator()(const lib::Tot*) const { return tot; }
    places operator()(const lib::DescriptorCA*) const { return ca; }
    places operator()(const lib::DescriptorGeneric*) const { return generic; }
    places operator()(const lib::DescriptorVideoStream*) const { return video_stream; }
    places operator()(const lib::DescriptorISO639Language*) const { return head; }
    places operator()(const lib::DescriptorISO639Language::Language*) const { return language; }
    places operator()(const lib::DescriptorSatelliteDeliverySystem*) const { return satellite_delivery; }
    places operator()(const lib::DescriptorService*) const { return service_descriptor; }
    places operator()(const lib::DescriptorServiceList*) const { return head; }
    places operator()(const lib::DescriptorServiceList::Service*) const { return listed_service; }
    places operator()(const lib::DescriptorTeletext*) const { return head; }
    places operator()(const lib::DescriptorTeletext::Page*) const { return teletext_page; }
    places operator()(const lib::DescriptorComponent*) const { return component; }
    places operator()(const lib::DescriptorExtendedEvent*) const { return extended_event; }
    places operator()(const lib::DescriptorExtendedEvent::Item*) const { return extended_event_item; }
    places operator()(const lib::DescriptorShortEvent*) const { return short_event; }
    places operator()(const lib::DescriptorTimeShiftedEvent*) const { return time_shifted_event; }
    places operator()(const lib::DescriptorContent*) const { return head; }
    places operator()(const lib::DescriptorContent::Item*) const { return content_item; }
    places operator()(const lib::DescriptorLocalTimeOffset*) const { return head; }
    places operator()(const lib::DescriptorLocalTimeOffset::Offset*) const { return local_time_offset; }
    places operator()(const lib::DescriptorCopyright*) const { return copyright; }
    places operator()(const lib::DescriptorCAIdentifier*) const { return head; }
    places operator()(ca_system_id) const { return ca_system; }
    places operator()(const lib::DescriptorAudioStream*) const { return audio_stream; }
    places operator()(const lib::DescriptorSTD*) const { return std_descriptor; }
    places operator()(const lib::DescriptorPrivateDataIndicator*) const { return private_data_indicator; }
    places operator()(const lib::DescriptorStreamIdentifier*) const { return stream_identifier; }
    // Networks, transponders and described descriptors have no fixed layout.
    template <class Other>
    places operator()(const Other&) const {
        return {};
    }
};

// The `index`-th run of the length-prefixed runs from `first`: its length byte, or none when
// a run before it reaches past `end`.
std::optional<std::size_t> run_start(std::span<const std::uint8_t> section, std::size_t first,
                                     std::size_t end, unsigned index) {
    std::size_t at = first;
    for (unsigned i = 0; i < index && at < end; ++i)
        at += 1 + std::size_t{section[at]};
    if (at >= end) return std::nullopt;
    return at;
}

}  // namespace

std::span<const row_place> layout_of(const record_ref& record) {
    return std::visit(layouts{}, record);
}

std::optional<bit_range> place_bits(const row_place& place, std::span<const std::uint8_t> section,
                                    byte_range record) {
    const std::size_t first = std::size_t{record.offset} * 8;
    const std::size_t end = std::min(record.end(), section.size()) * 8;
    if (end <= first) return std::nullopt;
    bit_range bits{first + place.bit, place.bits};
    switch (place.anchor) {
        case from::none:
            return std::nullopt;
        case from::start:
            break;
        case from::end:
            if (place.bit > end - first) return std::nullopt;
            bits.first = end - place.bit;
            break;
        case from::rest:
            bits.count = bits.first < end ? end - bits.first : 0;
            break;
        case from::after_loop: {
            const std::size_t length_byte = record.offset + std::size_t{place.at};
            if ((length_byte + 2) * 8 > end) return std::nullopt;
            const std::size_t loop = ((section[length_byte] & 0x0Fu) << 8) | section[length_byte + 1];
            bits.first = (length_byte + 2 + loop) * 8 + place.bit;
            break;
        }
        case from::prefix:
        case from::prefixed: {
            const auto run = run_start(section, record.offset + std::size_t{place.at}, end / 8, place.index);
            if (!run) return std::nullopt;
            bits = place.anchor == from::prefix ? bit_range{*run * 8, 8}
                                                : bit_range{(*run + 1) * 8, std::size_t{section[*run]} * 8};
            break;
        }
    }
    if (bits.count == 0 || bits.first + bits.count > end) return std::nullopt;
    return bits;
}

}  // namespace kestrel::views
