#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "ts/packet.h"
#include "ts/packet_format.h"
#include "ts/section_packetizer.h"

namespace kestrel::ts {

// Sections repeated on a PID: the whole list is sent again every interval.
struct carousel {
    std::uint16_t pid = 0;
    std::vector<std::vector<std::uint8_t>> sections;
    std::uint32_t interval_ms = 100;
    section_packetizer::packing packing = section_packetizer::packing::packed;
};

// A stretch of multiplex: carousels, a PCR, and elementary stream packets (or, without
// elementary PIDs, null packets) in every slot the signalling leaves free.
struct mux_plan {
    std::uint32_t duration_ms = 1000;
    std::vector<carousel> carousels;
    std::optional<std::uint16_t> pcr_pid;
    std::uint32_t pcr_interval_ms = 40;
    std::vector<std::uint16_t> elementary_pids;
};

// Writes a transport stream packet by packet: sections in, packets out, the inverse of the
// scanner and the assemblers. Packets are laid out in the given format (a 192-byte unit
// gets the arrival time as its prefix, a 204-byte unit 16 zero parity bytes). The stream has
// a clock that each packet advances at the nominal bitrate; PCRs and arrival times follow it.
class stream_builder {
  public:
    static constexpr std::uint64_t clock_hz = 27'000'000;

    explicit stream_builder(packet_format format = format_188, std::uint32_t bitrate = 8'000'000);

    // One packet with exactly the given fields (its continuity_counter included); returns
    // the payload bytes that fit. The PID's counter continues from this packet's.
    std::size_t add_packet(const packet_header& header, const adaptation_field& adaptation = {},
                           std::span<const std::uint8_t> payload = {});
    // Sections on pid, in as many packets as they need, continuity counters running on.
    void add_sections(std::uint16_t pid, std::span<const std::vector<std::uint8_t>> sections,
                      section_packetizer::packing packing = section_packetizer::packing::packed);
    // A packet with only an adaptation field carrying the stream clock as PCR.
    void add_pcr(std::uint16_t pid);
    void add_null();
    // Elementary stream bytes on pid; the first packet starts a payload unit.
    void add_payload(std::uint16_t pid, std::span<const std::uint8_t> data);
    // The multiplex a plan describes, from the current clock on.
    void add_mux(const mux_plan& plan);

    // The continuity_counter the next payload packet on pid gets.
    std::uint8_t continuity_counter(std::uint16_t pid) const { return counters_[pid & (pid_count - 1)]; }
    std::uint64_t clock() const { return clock_; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

  private:
    // Sends one packet of the packetizer's queue on pid.
    void add_section_packet(std::uint16_t pid, section_packetizer& packetizer);
    packet_header next_header(std::uint16_t pid, bool payload_unit_start);

    packet_format format_;
    std::uint64_t packet_ticks_;  // clock ticks per packet at the bitrate
    std::uint64_t clock_ = 0;
    std::array<std::uint8_t, pid_count> counters_{};
    std::vector<std::uint8_t> bytes_;
};

}  // namespace kestrel::ts
