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
    bool s2 = false;                // modulation_system DVB-S2
    std::uint8_t roll_off = 0;      // 0 0.35, 1 0.25, 2 0.20 (DVB-S2)
};
bytes satellite_delivery_system_descriptor(const satellite_delivery& d);
// 0x79 of a transport stream: its input stream, or -1 for a single-stream transponder.
bytes s2_satellite_delivery_system_descriptor(int input_stream);

struct cable_delivery {
    std::uint32_t frequency_khz = 0;
    std::uint8_t modulation = 5;    // 256-QAM
    std::uint32_t symbol_rate = 0;  // symbols per second
    std::uint8_t fec_inner = 0x0F;  // no inner FEC
};
bytes cable_delivery_system_descriptor(const cable_delivery& d);

struct terrestrial_delivery {
    std::uint32_t frequency_khz = 0;
    std::uint8_t bandwidth = 0;          // 8 MHz
    std::uint8_t constellation = 2;      // 64-QAM
    std::uint8_t code_rate = 1;          // 2/3, high priority; no hierarchy
    std::uint8_t guard_interval = 0;     // 1/32
    std::uint8_t transmission_mode = 1;  // 8k
    bool other_frequencies = false;      // other_frequency_flag
};
bytes terrestrial_delivery_system_descriptor(const terrestrial_delivery& d);

// The T2 extension (0x7F/0x04): the short form names the PLP and system alone; the long one
// adds one cell per frequency, without time-frequency slicing.
struct t2_delivery {
    std::uint8_t plp_id = 0;
    std::uint16_t system_id = 0;
    bool short_form = false;
    std::uint8_t bandwidth = 0;          // 8 MHz
    std::uint8_t guard_interval = 6;     // 19/256
    std::uint8_t transmission_mode = 5;  // 32k
    std::vector<std::uint32_t> cell_frequencies_khz;
};
bytes t2_delivery_system_descriptor(const t2_delivery& d);

// 0x62 with coding type 3 (terrestrial, binary in 10 Hz).
bytes terrestrial_frequency_list_descriptor(const std::vector<std::uint32_t>& frequencies_khz);
bytes private_data_specifier_descriptor(std::uint32_t specifier);
// 0x83 as EACEM numbers channels (after a private_data_specifier of 0x28): (service_id,
// logical_channel_number) pairs, every service visible.
bytes logical_channel_descriptor(const std::vector<std::pair<std::uint16_t, std::uint16_t>>& channels);

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
