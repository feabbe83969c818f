#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "ts/packet.h"
#include "ts/section_sink.h"

namespace kestrel::ts {

// The largest section the assembler delivers: section_length 4093 (private sections,
// ISO/IEC 13818-1:2019 clause 2.4.4.10). A section_length beyond it drops the section.
inline constexpr std::size_t max_section_size = 4096;

// Assembles the sections of one PID from its packets (clause 2.4.4.2): the pointer field,
// several sections in one packet, a section across packets, 0xFF stuffing after the last
// section. A continuity break drops the section in progress; a duplicate packet (the same
// continuity_counter again, once) is ignored. The buffer is part of the object: pushing
// packets never allocates. Sections that lie in one packet go to the sink straight from it.
class section_assembler {
  public:
    struct counters {
        std::uint64_t sections = 0;
        std::uint64_t continuity_breaks = 0;  // unannounced jumps of the continuity_counter
        std::uint64_t duplicates = 0;
        std::uint64_t dropped = 0;    // sections in progress lost to a break or a fault
        std::uint64_t oversized = 0;  // sections whose section_length exceeds the limit
        std::uint64_t malformed = 0;  // packets with transport errors or impossible lengths

        counters& operator+=(const counters& other);
    };

    // Takes the next packet of the PID and hands every section it completes to sink.
    void push(const packet& pkt, section_sink sink);

    // Forgets the section in progress and the continuity counter, for a jump in the input
    // (a capture that starts again from its beginning).
    void reset();

    const counters& stats() const { return counters_; }

  private:
    // False for a duplicate; drops the section in progress when the counter jumps.
    bool follows_on(const packet& pkt);
    void start_sections(const std::uint8_t* p, const std::uint8_t* end, std::uint16_t pid, section_sink sink);
    // Adds bytes to the section in progress and delivers it once complete.
    void append(const std::uint8_t* p, const std::uint8_t* end, std::uint16_t pid, section_sink sink);
    void drop();

    std::array<std::uint8_t, max_section_size> buffer_;
    std::size_t filled_ = 0;
    std::size_t expected_ = 0;  // the section's size once its first three bytes are in
    bool collecting_ = false;
    int last_counter_ = -1;  // -1: nothing seen yet that the next packet must follow
    bool duplicate_seen_ = false;
    counters counters_;
};

}  // namespace kestrel::ts
