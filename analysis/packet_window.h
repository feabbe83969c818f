#pragma once

// The packets read but not yet timed. A packet's checks run as it comes, but most of what
// they find needs the packet's time, which a capture gives only once the next PCR has come.
// So each packet leaves a few bytes here (its PID and what the checks found) and the rare
// things that need more (a PCR, a section's facts) go beside it; once the times are known
// the analyser replays them in order, exactly as if it had checked each packet then.
// Everything is allocated once and reused, so holding packets costs no allocation.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/packet_clock.h"

namespace kestrel::analysis {

// What the checks found in a packet, as bits of held_packet::marks.
namespace mark {
inline constexpr std::uint16_t wrong_sync_byte = 1 << 0;
inline constexpr std::uint16_t sync_regained = 1 << 1;
inline constexpr std::uint16_t transport_error = 1 << 2;
inline constexpr std::uint16_t scrambled = 1 << 3;
inline constexpr std::uint16_t continuity_error = 1 << 4;  // detail: the packets lost, 0 for a third copy
inline constexpr std::uint16_t pcr = 1 << 5;               // the next of packet_window::pcrs
inline constexpr std::uint16_t pts = 1 << 6;               // a PES header with a PTS starts here
inline constexpr std::uint16_t section_pid = 1 << 7;       // a PID whose sections are read
inline constexpr std::uint16_t pmt_pid = 1 << 8;           // a PID the PAT names for a PMT
inline constexpr std::uint16_t sections = 1 << 9;          // it ends sections of packet_window::sections
}  // namespace mark

struct held_packet {
    std::uint16_t pid = 0;
    std::uint16_t marks = 0;
    std::uint8_t detail = 0;  // the byte of a wrong sync byte, the packets a continuity jump lost
};

// A complete section: the facts the timed checks need, and its bytes where a table is decoded.
struct read_section {
    std::uint64_t packet = 0;    // the packet that completed it
    std::uint64_t identity = 0;  // the same for each copy of the same section (si_identity)
    std::uint32_t offset = 0;    // its bytes in packet_window::section_bytes (PMT and CAT only)
    std::uint32_t size = 0;
    std::uint16_t pid = 0;
    std::uint8_t table_id = 0;
    std::uint8_t section_number = 0;
    bool long_form = false;   // has a section_number
    bool on_pmt_pid = false;  // its PID carried PMTs when the section came
    bool crc_intact = true;
};

struct packet_window {
    // The most packets held: past it they are released with extrapolated times, or untimed.
    static constexpr std::size_t capacity = 32768;

    std::uint64_t first = 0;  // the number of packets[0]
    std::size_t held = 0;
    std::vector<held_packet> packets = std::vector<held_packet>(capacity);
    std::vector<packet_pcr> pcrs;
    std::vector<read_section> sections;
    std::vector<std::uint8_t> section_bytes;

    held_packet& add(std::uint64_t number, std::uint16_t pid) {
        if (held == 0) first = number;
        held_packet& h = packets[held++];
        h = {pid, 0, 0};
        return h;
    }
    bool full() const { return held == capacity; }
    void clear() {
        held = 0;
        pcrs.clear();
        sections.clear();
        section_bytes.clear();
    }
};

}  // namespace kestrel::analysis
