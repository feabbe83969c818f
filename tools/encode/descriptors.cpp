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
    // west_east_flag, polarization, roll_off, modulation_system, modulation_type
    w.u8((d.east ? 0x80u : 0u) | static_cast<std::uint32_t>((d.polarization & 3) << 5) |
         static_cast<std::uint32_t>((d.roll_off & 3) << 3) | (d.s2 ? 0x04u : 0u) | (d.modulation & 3));
    // symbol_rate in Msymbols/s with four decimals: 28 bits of BCD, then FEC_inner
    w.u32((bcd(d.symbol_rate / 100, 4) << 4) | (d.fec_inner & 0x0F));
    return descriptor(0x43, w.data());
}

bytes s2_satellite_delivery_system_descriptor(int input_stream) {
    // No scrambling sequence, no time slice, reserved bits set, TS_GS_mode 3 (transport stream)
    const bool multiple = input_stream >= 0;
    bytes body{static_cast<std::uint8_t>(0x3F | (multiple ? 0x40 : 0))};
    if (multiple) body.push_back(static_cast<std::uint8_t>(input_stream));
    return descriptor(0x79, body);
}

bytes cable_delivery_system_descriptor(const cable_delivery& d) {
    si_writer w;
    w.u32(bcd(d.frequency_khz * 10, 4));  // MHz with four decimals
    w.u16(0xFFF2);                        // reserved, FEC_outer RS(204/188)
    w.u8(d.modulation);
    w.u32((bcd(d.symbol_rate / 100, 4) << 4) | (d.fec_inner & 0x0F));
    return descriptor(0x44, w.data());
}

bytes terrestrial_delivery_system_descriptor(const terrestrial_delivery& d) {
    si_writer w;
    w.u32(d.frequency_khz * 100);  // 10 Hz units
    // bandwidth, priority HP, no time slicing, no MPE-FEC, reserved
    w.u8(static_cast<std::uint32_t>((d.bandwidth & 7) << 5) | 0x1F);
    w.u8(static_cast<std::uint32_t>((d.constellation & 3) << 6) | (d.code_rate & 7));
    w.u8(static_cast<std::uint32_t>((d.guard_interval & 3) << 3) |
         static_cast<std::uint32_t>((d.transmission_mode & 3) << 1) | (d.other_frequencies ? 1u : 0u));
    w.u32(0xFFFFFFFF);
    return descriptor(0x5A, w.data());
}

bytes t2_delivery_system_descriptor(const t2_delivery& d) {
    si_writer w;
    w.u8(0x04);
    w.u8(d.plp_id);
    w.u16(d.system_id);
    if (!d.short_form) {
        w.u8(static_cast<std::uint32_t>((d.bandwidth & 0x0F) << 2) | 0x03);  // SISO, reserved
        w.u8(static_cast<std::uint32_t>((d.guard_interval & 7) << 5) |
             static_cast<std::uint32_t>((d.transmission_mode & 7) << 2));  // no other frequencies, no TFS
        std::uint16_t cell_id = 1;
        for (const std::uint32_t khz : d.cell_frequencies_khz) {
            w.u16(cell_id++);
            w.u32(khz * 100);
            w.u8(0);  // no subcells
        }
    }
    return descriptor(0x7F, w.data());
}

bytes terrestrial_frequency_list_descriptor(const std::vector<std::uint32_t>& frequencies_khz) {
    si_writer w;
    w.u8(0xFC | 3);
    for (const std::uint32_t khz : frequencies_khz)
        w.u32(khz * 100);
    return descriptor(0x62, w.data());
}

bytes private_data_specifier_descriptor(std::uint32_t specifier) {
    si_writer w;
    w.u32(specifier);
    return descriptor(0x5F, w.data());
}

bytes logical_channel_descriptor(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& channels) {
    si_writer w;
    for (const auto& [service_id, number] : channels) {
        w.u16(service_id);
        w.u16(0xFC00u | (number & 0x3FFu));  // visible, reserved bits set
    }
    return descriptor(0x83, w.data());
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
