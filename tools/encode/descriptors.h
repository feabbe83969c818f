#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "tools/encode/si_writer.h"

namespace kestrel::encode {

// Descriptor encoders: tag, length, then each field in the order the decoders read them.
// A descriptor is its whole bytes; loops take them concatenated.

bytes descriptor(std::uint8_t tag, const bytes& body);

bytes ca_descriptor(std::uint16_t ca_system_id, std::uint16_t ca_pid, const bytes& private_data = {});
bytes iso639_language_descriptor(const std::string& language, std::uint8_t audio_type = 0);
bytes stream_identifier_descriptor(std::uint8_t component_tag);

struct teletext_page {
    std::string language;
    std::uint8_t type = 1;  // 1: initial page, 2: subtitles
    std::uint8_t magazine = 1;
    std::uint8_t page = 0x00;
};
bytes teletext_descriptor(const std::vector<teletext_page>& pages);

bytes network_name_descriptor(const std::string& name);
bytes bouquet_name_descriptor(const std::string& name);
// (service_id, service_type) pairs.
bytes service_list_descriptor(const std::vector<std::pair<std::uint16_t, std::uint8_t>>& services);

struct satellite_delivery {
    std::uint32_t frequency_khz = 0;
    std::uint16_t orbital_tenths = 0;  // 235 for 23.5 degrees
    bool east = true;
    std::uint8_t polarization = 0;  // 0 H, 1 V, 2 left, 3 right
    std::uint8_t modulation = 1;    // QPSK
    std::uint32_t symbol_rate = 0;  // symbols per second
    std::uint8_t fec_inner = 3;     // 3/4
};
bytes satellite_delivery_system_descriptor(const satellite_delivery& d);

bytes service_descriptor(std::uint8_t service_type, const std::string& provider, const std::string& name);
bytes ca_identifier_descriptor(const std::vector<std::uint16_t>& ca_system_ids);
bytes short_event_descriptor(const std::string& language, const std::string& name, const std::string& text);

struct event_item {
    std::string description;
    std::string item;
};
bytes extended_event_descriptor(std::uint8_t number, std::uint8_t last_number, const std::string& language,
                                const std::vector<event_item>& items, const std::string& text);
bytes component_descriptor(std::uint8_t stream_content, std::uint8_t component_type,
                           std::uint8_t component_tag, const std::string& language, const std::string& text);
// (content_nibble_level_1 << 4 | level_2, user_byte) pairs.
bytes content_descriptor(const std::vector<std::pair<std::uint8_t, std::uint8_t>>& contents);

struct local_time_offset {
    std::string country;
    std::uint8_t region = 0;
    bool negative = false;
    int offset_minutes = 0;
    utc_time time_of_change;
    int next_offset_minutes = 0;
};
bytes local_time_offset_descriptor(const std::vector<local_time_offset>& offsets);

}  // namespace kestrel::encode
