#pragma once

// The packets read but not yet timed. A packet's checks run as it comes, but much of what
// they find needs the packet's time, which a capture gives only once the next PCR has come.
// So each packet leaves its PID here, a packet with findings (an error, a PCR, sections, a
// PTS) leaves a marked_packet, and each PID sums its packets; once the times are known the
// analyser replays the marked packets and the sums with their times, as if it had checked
// each packet then. Everything is allocated once and reused: holding packets allocates nothing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "analysis/packet_clock.h"

namespace kestrel::analysis {

// What the checks found in a packet, as bits of marked_packet::marks.
namespace mark {
inline constexpr std::uint16_t wrong_sync_byte = 1 << 0;
inline constexpr std::uint16_t sync_regained = 1 << 1;
inline constexpr std::uint16_t transport_error = 1 << 2;
inline constexpr std::uint16_t first_scrambled = 1 << 3;   // the first scrambled packet
inline constexpr std::uint16_t continuity_error = 1 << 4;  // detail: the packets lost, 0 for a third copy
inline constexpr std::uint16_t pcr = 1 << 5;               // the next of packet_window::pcrs
inline constexpr std::uint16_t pts = 1 << 6;               // a PES header with a PTS starts here
inline constexpr std::uint16_t section_pid = 1 << 7;       // sections or a section PID's timers
inline constexpr std::uint16_t pmt_pid = 1 << 8;           // a PID the PAT names for a PMT
inline constexpr std::uint16_t first_of_pid = 1 << 9;      // the PID's first packet
inline constexpr std::uint16_t timers_only = 1 << 10;      // its sections only feed timers (read_section)
}  // namespace mark

// Window records hold a packet's place as its index in the window, and a marked packet its
// number among its PID's packets of the window: the replay adds what came before the window.
// So they stay small, and the records of a full window stay in the cache until it is replayed.
struct marked_packet {
    std::uint16_t index = 0;       // in the window
    std::uint16_t pid_packet = 0;  // its number among the window's packets of its PID
    std::uint16_t marks = 0;
    std::uint8_t detail = 0;  // the byte of a wrong sync byte, the packets a continuity jump lost
};

// A complete section: the facts the timed checks need, and its bytes where a table is decoded.
// Its PID is that of the packet that completed it.
struct read_section {
    std::uint64_t identity = 0;  // the same for each copy of the same section (si_repetition)
    std::uint16_t index = 0;     // the packet that completed it, in the window
    // Its bytes, next in packet_window::section_bytes (a PMT or CAT to decode); 0 for none.
    std::uint16_t size = 0;
    bool long_form : 1 = false;   // has a section_number
    bool on_pmt_pid : 1 = false;  // its PID carried PMTs when the section came
    bool crc_intact : 1 = true;
    // An intact SI table where its PID carries it: its replay only feeds timers, so there is
    // nothing to check while the stream has no time.
    bool timers_only : 1 = false;
    std::uint8_t table_id = 0;
    std::uint8_t section_number = 0;
};
static_assert(sizeof(read_section) == 16);

class packet_window {
  public:
    // The most packets held: past it they are released with extrapolated times, or untimed.
    static constexpr std::size_t capacity = 32768;
    static_assert(capacity <= UINT16_MAX + 1, "window records hold a packet's index in 16 bits");
    // packets[] entries: the PID, with these bits for packets that count for no PID (a wrong
    // sync byte), that do not show the PID present (a transport error, the null PID), and
    // for scrambled packets.
    static constexpr std::uint16_t pid_bits = 0x1FFF;
    static constexpr std::uint16_t uncounted = 0x8000;
    static constexpr std::uint16_t absent = 0x4000;
    static constexpr std::uint16_t scrambled = 0x2000;

    std::uint64_t first = 0;  // the number of packets[0]
    std::size_t held = 0;
    std::vector<std::uint16_t> packets = std::vector<std::uint16_t>(capacity);
    std::vector<marked_packet> marked;
    std::vector<packet_pcr> pcrs;
    std::vector<read_section> sections;
    std::vector<std::uint8_t> section_bytes;
    bool pmt_changed = false;  // a PMT that differs from its PID's last one came

    // Per PID, for the PIDs in `touched`: the packets counted and scrambled, the first and last that
    // show the PID present (index + 1, 0 for none) with the first one's number in its PID.
    struct pid_sums {
        std::uint32_t count = 0;
        std::uint32_t scrambled = 0;
        std::uint32_t first_present = 0;
        std::uint32_t last_present = 0;
        std::uint64_t first_present_pid_packet = 0;
    };
    std::array<pid_sums, ts::pid_count> pids{};
    std::vector<std::uint16_t> touched;

    bool full() const { return held == capacity; }
    void clear() {
        held = 0;
        marked.clear();
        pcrs.clear();
        sections.clear();
        section_bytes.clear();
        pmt_changed = false;
        for (std::uint16_t pid : touched)
            pids[pid] = {};
        touched.clear();
    }
};

}  // namespace kestrel::analysis
