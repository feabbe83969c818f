#pragma once

#include <cstdint>
#include <vector>

#include "tools/encode/si_writer.h"

namespace kestrel::encode {

// Section encoders: each writes one whole section, header, fields in the order the
// decoders read them, and the CRC_32 of long-form sections. Descriptor loops take the
// descriptors' bytes concatenated (see descriptors.h).

// The long-form header's fields after table_id and section_length.
struct section_header {
    std::uint8_t table_id = 0;
    std::uint16_t table_id_extension = 0;
    std::uint8_t version = 0;
    std::uint8_t section_number = 0;
    std::uint8_t last_section_number = 0;
};

struct pat_program {
    std::uint16_t program_number = 0;
    std::uint16_t pid = 0;  // network PID for program 0, else the PMT's
};
// table_id_extension: transport_stream_id.
bytes pat_section(const section_header& h, const std::vector<pat_program>& programs);

struct elementary_stream {
    std::uint8_t stream_type = 0;
    std::uint16_t pid = 0;
    bytes descriptors;
};
// table_id_extension: program_number.
bytes pmt_section(const section_header& h, std::uint16_t pcr_pid, const bytes& program_descriptors,
                  const std::vector<elementary_stream>& streams);
bytes cat_section(const section_header& h, const bytes& descriptors);

struct transport_stream_entry {
    std::uint16_t transport_stream_id = 0;
    std::uint16_t original_network_id = 0;
    bytes descriptors;
};
// NIT (0x40, 0x41; extension network_id) and BAT (0x4A; extension bouquet_id) share a layout.
bytes network_section(const section_header& h, const bytes& first_descriptors,
                      const std::vector<transport_stream_entry>& transport_streams);

struct sdt_service {
    std::uint16_t service_id = 0;
    bool eit_schedule = false;
    bool eit_present_following = false;
    std::uint8_t running_status = 4;
    bool free_ca = false;
    bytes descriptors;
};
// table_id_extension: transport_stream_id.
bytes sdt_section(const section_header& h, std::uint16_t original_network_id,
                  const std::vector<sdt_service>& services);

struct eit_event {
    std::uint16_t event_id = 0;
    utc_time start_time;
    int duration_minutes = 0;
    std::uint8_t running_status = 1;
    bool free_ca = false;
    bytes descriptors;
};
struct eit_fields {
    std::uint16_t transport_stream_id = 0;
    std::uint16_t original_network_id = 0;
    std::uint8_t segment_last_section_number = 0;
    std::uint8_t last_table_id = 0;
};
// table_id_extension: service_id.
bytes eit_section(const section_header& h, const eit_fields& f, const std::vector<eit_event>& events);

bytes tdt_section(const utc_time& t);
bytes tot_section(const utc_time& t, const bytes& descriptors);

struct rst_entry {
    std::uint16_t transport_stream_id = 0;
    std::uint16_t original_network_id = 0;
    std::uint16_t service_id = 0;
    std::uint16_t event_id = 0;
    std::uint8_t running_status = 0;
};
bytes rst_section(const std::vector<rst_entry>& entries);

}  // namespace kestrel::encode
