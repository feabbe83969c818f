#include "ts/packet.h"

#include <algorithm>
#include <cstring>

namespace kestrel::ts {

namespace {

constexpr std::uint8_t discontinuity_flag = 0x80;
constexpr std::uint8_t random_access_flag = 0x40;
constexpr std::uint8_t pcr_flag = 0x10;
constexpr std::size_t pcr_size = 6;

std::uint64_t read_pcr(const std::uint8_t* p) {
    const std::uint64_t base = (std::uint64_t{p[0]} << 25) | (std::uint64_t{p[1]} << 17) |
                               (std::uint64_t{p[2]} << 9) | (std::uint64_t{p[3]} << 1) | (p[4] >> 7);
    const std::uint64_t extension = (std::uint64_t{p[4] & 0x01u} << 8) | p[5];
    return base * 300 + extension;
}

void write_pcr(std::uint8_t* p, std::uint64_t pcr) {
    pcr %= pcr_modulus;
    const std::uint64_t base = pcr / 300;
    const std::uint64_t extension = pcr % 300;
    p[0] = static_cast<std::uint8_t>(base >> 25);
    p[1] = static_cast<std::uint8_t>(base >> 17);
    p[2] = static_cast<std::uint8_t>(base >> 9);
    p[3] = static_cast<std::uint8_t>(base >> 1);
    p[4] = static_cast<std::uint8_t>(((base & 1) << 7) | 0x7E | (extension >> 8));
    p[5] = static_cast<std::uint8_t>(extension);
}

// The adaptation field after its length byte; `length` bytes are there.
void parse_adaptation(const std::uint8_t* p, std::size_t length, adaptation_field& field) {
    if (length == 0) return;
    const std::uint8_t flags = p[0];
    field.discontinuity_indicator = flags & discontinuity_flag;
    field.random_access_indicator = flags & random_access_flag;
    if ((flags & pcr_flag) && length >= 1 + pcr_size) field.pcr = read_pcr(p + 1);
}

std::size_t adaptation_length_needed(const adaptation_field& field) {
    const bool has_flags = field.discontinuity_indicator || field.random_access_indicator || field.pcr;
    return has_flags ? 1 + (field.pcr ? pcr_size : 0) : 0;
}

}  // namespace

packet parse_packet(const std::uint8_t* p) {
    packet result;
    packet_header& h = result.header;
    h.transport_error_indicator = p[1] & 0x80;
    h.payload_unit_start_indicator = p[1] & 0x40;
    h.transport_priority = p[1] & 0x20;
    h.pid = packet_pid(p);
    h.transport_scrambling_control = static_cast<std::uint8_t>(p[3] >> 6);
    h.has_adaptation_field = p[3] & 0x20;
    h.has_payload = p[3] & 0x10;
    h.continuity_counter = p[3] & 0x0F;

    std::size_t payload_start = header_size;
    if (h.has_adaptation_field) {
        const std::size_t length = p[header_size];
        // Without payload the field fills the packet (183 bytes); with payload at most 182.
        const std::size_t room = packet_size - header_size - 1 - (h.has_payload ? 1 : 0);
        if (length > room) {
            result.intact = false;
            return result;
        }
        result.adaptation.length = static_cast<std::uint8_t>(length);
        parse_adaptation(p + header_size + 1, length, result.adaptation);
        payload_start += 1 + length;
    }
    if (!h.has_adaptation_field && !h.has_payload) result.intact = false;
    if (h.has_payload && result.intact) result.payload = {p + payload_start, packet_size - payload_start};
    return result;
}

std::size_t write_packet(std::uint8_t* out, const packet_header& header, const adaptation_field& adaptation,
                         std::span<const std::uint8_t> payload) {
    std::memset(out, 0xFF, packet_size);
    out[0] = sync_byte;
    out[1] = static_cast<std::uint8_t>((header.transport_error_indicator ? 0x80 : 0) |
                                       (header.payload_unit_start_indicator ? 0x40 : 0) |
                                       (header.transport_priority ? 0x20 : 0) | ((header.pid >> 8) & 0x1F));
    out[2] = static_cast<std::uint8_t>(header.pid);
    out[3] = static_cast<std::uint8_t>((header.transport_scrambling_control << 6) |
                                       (header.has_adaptation_field ? 0x20 : 0) |
                                       (header.has_payload ? 0x10 : 0) | (header.continuity_counter & 0x0F));
    std::size_t at = header_size;
    if (header.has_adaptation_field) {
        const std::size_t room = packet_size - header_size - 1;
        const std::size_t length =
            header.has_payload
                ? std::min(std::max<std::size_t>(adaptation.length, adaptation_length_needed(adaptation)),
                           room - 1)
                : room;
        out[at] = static_cast<std::uint8_t>(length);
        if (length > 0) {
            out[at + 1] =
                static_cast<std::uint8_t>((adaptation.discontinuity_indicator ? discontinuity_flag : 0) |
                                          (adaptation.random_access_indicator ? random_access_flag : 0) |
                                          (adaptation.pcr ? pcr_flag : 0));
            if (adaptation.pcr) write_pcr(out + at + 2, *adaptation.pcr);
        }
        at += 1 + length;
    }
    if (!header.has_payload) return 0;
    const std::size_t n = std::min(payload.size(), packet_size - at);
    if (n > 0) std::memcpy(out + at, payload.data(), n);
    return n;
}

}  // namespace kestrel::ts
