#pragma once

#include <cstdint>
#include <map>
#include <span>

#include "analysis/event_log.h"
#include "analysis/gap_timer.h"
#include "analysis/packet_window.h"

namespace kestrel::analysis {

// The repetition of each SI section: every copy of a section (one table_id, table extension
// and section_number, and for the SDT and EIT their network) must follow the one before
// within its table's limit, and not closer than 25 ms. The limits are those of cable and
// satellite networks: NIT and BAT 10 s, SDT actual 2 s and other 10 s, EIT present/following
// actual 2 s and other 10 s, EIT schedule of the first eight days 10 s, TDT and TOT 30 s.
// A NIT other section that comes too late is also a NIT other fault of its own.
class si_repetition {
  public:
    // What tells the copies of one section apart from other sections, read from its bytes.
    static std::uint64_t identity(std::span<const std::uint8_t> section);

    // A copy of the section `s` at `at`.
    void occur(const read_section& s, const event_place& at, event_log& events);
    // The gaps still open when the capture ends at `last`; `pid_packets` gives each PID's
    // packet count for the events.
    void finish(const event_place& last, std::span<const std::uint64_t> pid_packets, event_log& events);

  private:
    struct tracked {
        gap_timer timer;
        std::uint16_t pid = 0;
    };
    // Sections past this many distinct ones are not followed, which bounds the memory.
    static constexpr std::size_t max_sections = 65'536;

    std::map<std::uint64_t, tracked> sections_;
};

}  // namespace kestrel::analysis
