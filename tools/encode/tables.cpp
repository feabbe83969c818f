#include "tools/encode/tables.h"

#include <functional>
#include <stdexcept>

#include "lib13818/core/crc32.h"

namespace kestrel::encode {

namespace {

constexpr std::size_t max_section_size = 4096;
constexpr std::uint8_t psi_flags = 0xB;  // section_syntax_indicator 1, '0', reserved 11
constexpr std::uint8_t si_flags = 0xF;   // section_syntax_indicator 1, reserved_future_use 1, reserved 11
constexpr std::uint8_t short_flags = 0x7;

bool is_psi(std::uint8_t table_id) {
    return table_id < 0x40;
}

// A long-form section under construction: its header is written, its length and CRC
// follow in finish().
class long_section {
  public:
    explicit long_section(const section_header& h) {
        w.u8(h.table_id);
        length_ = w.open_length(is_psi(h.table_id) ? psi_flags : si_flags);
        w.u16(h.table_id_extension);
        w.u8(0xC1u | static_cast<std::uint32_t>((h.version & 0x1F) << 1));  // current_next_indicator 1
        w.u8(h.section_number);
        w.u8(h.last_section_number);
    }
    bytes finish() {
        w.u32(0);
        w.close_length(length_);
        if (w.size() > max_section_size) throw std::length_error("section longer than 4096 bytes");
        lib13818::seal_section(w.data());
        return std::move(w.data());
    }
    si_writer w;

  private:
    std::size_t length_;
};

// A descriptor loop behind its 12-bit length; `top` fills the four bits before it.
void descriptor_loop(si_writer& w, const bytes& descriptors, std::uint8_t top = 0xF) {
    const std::size_t at = w.open_length(top);
    w.raw(descriptors);
    w.close_length(at);
}

// running_status and free_CA_mode, the four bits before a service's or event's loop length.
std::uint8_t status_bits(std::uint8_t running_status, bool free_ca) {
    return static_cast<std::uint8_t>(((running_status & 7) << 1) | (free_ca ? 1 : 0));
}

}  // namespace

bytes pat_section(const section_header& h, const std::vector<pat_program>& programs) {
    long_section s(h);
    for (const pat_program& p : programs) {
        s.w.u16(p.program_number);
        s.w.u16(0xE000u | p.pid);
    }
    return s.finish();
}

bytes pmt_section(const section_header& h, std::uint16_t pcr_pid, const bytes& program_descriptors,
                  const std::vector<elementary_stream>& streams) {
    long_section s(h);
    s.w.u16(0xE000u | pcr_pid);
    descriptor_loop(s.w, program_descriptors);
    for (const elementary_stream& e : streams) {
        s.w.u8(e.stream_type);
        s.w.u16(0xE000u | e.pid);
        descriptor_loop(s.w, e.descriptors);
    }
    return s.finish();
}

bytes cat_section(const section_header& h, const bytes& descriptors) {
    long_section s(h);
    s.w.raw(descriptors);
    return s.finish();
}

bytes network_section(const section_header& h, const bytes& first_descriptors,
                      const std::vector<transport_stream_entry>& transport_streams) {
    long_section s(h);
    descriptor_loop(s.w, first_descriptors);
    const std::size_t loop = s.w.open_length();
    for (const transport_stream_entry& t : transport_streams) {
        s.w.u16(t.transport_stream_id);
        s.w.u16(t.original_network_id);
        descriptor_loop(s.w, t.descriptors);
    }
    s.w.close_length(loop);
    return s.finish();
}

bytes sdt_section(const section_header& h, std::uint16_t original_network_id,
                  const std::vector<sdt_service>& services) {
    long_section s(h);
    s.w.u16(original_network_id);
    s.w.u8(0xFF);  // reserved_future_use
    for (const sdt_service& service : services) {
        s.w.u16(service.service_id);
        s.w.u8(0xFCu | (service.eit_schedule ? 2u : 0u) | (service.eit_present_following ? 1u : 0u));
        descriptor_loop(s.w, service.descriptors, status_bits(service.running_status, service.free_ca));
    }
    return s.finish();
}

bytes eit_section(const section_header& h, const eit_fields& f, const std::vector<eit_event>& events) {
    long_section s(h);
    s.w.u16(f.transport_stream_id);
    s.w.u16(f.original_network_id);
    s.w.u8(f.segment_last_section_number);
    s.w.u8(f.last_table_id);
    for (const eit_event& e : events) {
        s.w.u16(e.event_id);
        s.w.time(e.start_time);
        s.w.duration(e.duration_minutes / 60, e.duration_minutes % 60, 0);
        descriptor_loop(s.w, e.descriptors, status_bits(e.running_status, e.free_ca));
    }
    return s.finish();
}

namespace {

// A short-form section: table_id, its length, then the body.
bytes short_section(std::uint8_t table_id, const std::function<void(si_writer&)>& body, bool with_crc) {
    si_writer w;
    w.u8(table_id);
    const std::size_t at = w.open_length(short_flags);
    body(w);
    if (with_crc) w.u32(0);
    w.close_length(at);
    if (with_crc) lib13818::seal_section(w.data());
    return std::move(w.data());
}

}  // namespace

bytes tdt_section(const utc_time& t) {
    return short_section(
        0x70, [&](si_writer& w) { w.time(t); }, false);
}

bytes tot_section(const utc_time& t, const bytes& descriptors) {
    return short_section(
        0x73,
        [&](si_writer& w) {
            w.time(t);
            descriptor_loop(w, descriptors);
        },
        true);
}

bytes rst_section(const std::vector<rst_entry>& entries) {
    return short_section(
        0x71,
        [&](si_writer& w) {
            for (const rst_entry& e : entries) {
                w.u16(e.transport_stream_id);
                w.u16(e.original_network_id);
                w.u16(e.service_id);
                w.u16(e.event_id);
                w.u8(0xF8u | (e.running_status & 7));
            }
        },
        false);
}

}  // namespace kestrel::encode
