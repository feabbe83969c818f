#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kestrel::ts {

// An MPEG-2 transport packet (ISO/IEC 13818-1:2019 clause 2.4.3.2): 188 bytes that start
// with the sync byte 0x47. Captures may wrap each packet in a larger unit (see packet_format).
inline constexpr std::size_t packet_size = 188;
inline constexpr std::uint8_t sync_byte = 0x47;
inline constexpr std::uint16_t pid_count = 8192;
inline constexpr std::uint16_t null_pid = 0x1FFF;
inline constexpr std::size_t header_size = 4;

// The program clock reference in 27 MHz units (base * 300 + extension); 33 + 9 bits wide.
inline constexpr std::uint64_t pcr_modulus = (std::uint64_t{1} << 33) * 300;

// The four header bytes, in the order they stand in the packet.
struct packet_header {
    bool transport_error_indicator = false;
    bool payload_unit_start_indicator = false;
    bool transport_priority = false;
    std::uint16_t pid = 0;
    std::uint8_t transport_scrambling_control = 0;
    bool has_adaptation_field = false;  // adaptation_field_control bit 1
    bool has_payload = true;            // adaptation_field_control bit 0
    std::uint8_t continuity_counter = 0;
};

// The adaptation field fields the stream layer uses (clause 2.4.3.4). `length` is
// adaptation_field_length; a writer may leave it 0 to get the shortest field that holds the flags.
struct adaptation_field {
    std::uint8_t length = 0;
    bool discontinuity_indicator = false;
    bool random_access_indicator = false;
    std::optional<std::uint64_t> pcr = std::nullopt;
};

// A parsed packet; `payload` points into the packet it was parsed from.
struct packet {
    packet_header header;
    adaptation_field adaptation;
    std::span<const std::uint8_t> payload;
    // False when adaptation_field_length runs past the packet or adaptation_field_control is
    // the reserved 00: such a packet carries nothing usable.
    bool intact = true;
};

// The PID of the packet at p, from the header alone (the hot path's only look at a packet).
inline std::uint16_t packet_pid(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
}

// Parses the 188 bytes at p (p[0] is the sync byte). Never reads outside them.
packet parse_packet(const std::uint8_t* p);

// Writes one 188-byte packet at out: header, adaptation field (when the header asks for one)
// and as much of payload as fits; the rest of the packet is 0xFF. Returns the payload bytes
// written. An adaptation field longer than its flags need is filled with stuffing bytes.
std::size_t write_packet(std::uint8_t* out, const packet_header& header, const adaptation_field& adaptation,
                         std::span<const std::uint8_t> payload);

}  // namespace kestrel::ts
