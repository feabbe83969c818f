#include "tools/encode/descriptors.h"

#include <stdexcept>

namespace kestrel::encode {

namespace {

// Hours and minutes in four BCD digits.
std::uint32_t bcd_hhmm(int minutes) {
    return bcd(static_cast<std::uint32_t>((minutes / 60) * 100 + minutes % 60), 2);
}

}  // namespace

bytes descriptor(std::uint8_t tag, const bytes& body) {
    if (body.size() > 255) throw std::length_error("descriptor longer than 255 bytes");
    si_writer w;
    w.u8(tag);
    w.u8(static_cast<std::uint32_t>(body.size()));
    w.raw(body);
    return std::move(w.data());
}

bytes ca_descriptor(std::uint16_t ca_system_id, std::uint16_t ca_pid, const bytes& private_data) {
    si_writer w;
    w.u16(ca_system_id);
    w.u16(0xE000u | ca_pid);
    w.raw(private_data);
    return descriptor(0x09, w.data());
}

bytes iso639_language_descriptor(const std::string& language, std::uint8_t audio_type) {
    si_writer w;
    w.code(language);
    w.u8(audio_type);
    return descriptor(0x0A, w.data());
}

bytes stream_identifier_descriptor(std::uint8_t component_tag) {
    return descriptor(0x52, {component_tag});
}

bytes teletext_descriptor(const std::vector<teletext_page>& pages) {
    si_writer w;
    for (const teletext_page& p : pages) {
        w.code(p.language);
        w.u8(static_cast<std::uint32_t>(p.type << 3) | (p.magazine & 0x07));
        w.u8(p.page);
    }
    return descriptor(0x56, w.data());
}

bytes network_name_descriptor(const std::string& name) {
    return descriptor(0x40, bytes(name.begin(), name.end()));
}

bytes bouquet_name_descriptor(const std::string& name) {
    return descriptor(0x47, bytes(name.begin(), name.end()));
}

bytes service_list_descriptor(const std::vector<std::pair<std::uint16_t, std::uint8_t>>& services) {
    si_writer w;
    for (const auto& [id, type] : services) {
        w.u16(id);
        w.u8(type);
    }
    return descriptor(0x41, w.data());
}

bytes satellite_delivery_system_descriptor(const satellite_delivery& d) {
    si_writer w;
    w.u32(bcd(d.frequency_khz / 10, 4));  // GHz with five decimals
    w.u16(bcd(d.orbital_tenths, 2));
    // west_east_flag, polarization, roll_off 00, modulation_system 0 (DVB-S), modulation_type
    w.u8((d.east ? 0x80u : 0u) | static_cast<std::uint32_t>((d.polarization & 3) << 5) | (d.modulation & 3));
    // symbol_rate in Msymbols/s with four decimals: 28 bits of BCD, then FEC_inner
    w.u32((bcd(d.symbol_rate / 100, 4) << 4) | (d.fec_inner & 0x0F));
    return descriptor(0x43, w.data());
}

bytes service_descriptor(std::uint8_t service_type, const std::string& provider, const std::string& name) {
    si_writer w;
    w.u8(service_type);
    w.counted_text(provider);
    w.counted_text(name);
    return descriptor(0x48, w.data());
}

bytes ca_identifier_descriptor(const std::vector<std::uint16_t>& ca_system_ids) {
    si_writer w;
    for (const std::uint16_t id : ca_system_ids)
        w.u16(id);
    return descriptor(0x53, w.data());
}

bytes short_event_descriptor(const std::string& language, const std::string& name, const std::string& text) {
    si_writer w;
    w.code(language);
    w.counted_text(name);
    w.counted_text(text);
    return descriptor(0x4D, w.data());
}

bytes extended_event_descriptor(std::uint8_t number, std::uint8_t last_number, const std::string& language,
                                const std::vector<event_item>& items, const std::string& text) {
    si_writer w;
    w.u8(static_cast<std::uint32_t>((number & 0x0F) << 4) | (last_number & 0x0F));
    w.code(language);
    const std::size_t items_length = w.open_short_length();
    for (const event_item& item : items) {
        w.counted_text(item.description);
        w.counted_text(item.item);
    }
    w.close_short_length(items_length);
    w.counted_text(text);
    return descriptor(0x4E, w.data());
}

bytes component_descriptor(std::uint8_t stream_content, std::uint8_t component_type,
                           std::uint8_t component_tag, const std::string& language, const std::string& text) {
    si_writer w;
    w.u8(0xF0u | (stream_content & 0x0F));
    w.u8(component_type);
    w.u8(component_tag);
    w.code(language);
    w.text(text);
    return descriptor(0x50, w.data());
}

bytes content_descriptor(const std::vector<std::pair<std::uint8_t, std::uint8_t>>& contents) {
    si_writer w;
    for (const auto& [nibbles, user] : contents) {
        w.u8(nibbles);
        w.u8(user);
    }
    return descriptor(0x54, w.data());
}

bytes local_time_offset_descriptor(const std::vector<local_time_offset>& offsets) {
    si_writer w;
    for (const local_time_offset& o : offsets) {
        w.code(o.country);
        // country_region_id, reserved, local_time_offset_polarity
        w.u8(static_cast<std::uint32_t>((o.region & 0x3F) << 2) | 0x02u | (o.negative ? 1u : 0u));
        w.u16(bcd_hhmm(o.offset_minutes));
        w.time(o.time_of_change);
        w.u16(bcd_hhmm(o.next_offset_minutes));
    }
    return descriptor(0x58, w.data());
}

}  // namespace kestrel::encode
