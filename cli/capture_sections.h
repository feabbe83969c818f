#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "cli/distinct_sections.h"
#include "ts/section_extractor.h"

namespace kestrel::cli {

// Which PIDs `kestrel-cli sections` reads: by default 0x00-0x1F and the PMT PIDs the PATs
// name; else the given list; or every PID. With `every_occurrence` the sections are also kept
// in stream order (--all), a list that grows with the capture.
struct section_selection {
    std::vector<std::uint16_t> pids{};
    bool all_pids = false;
    bool every_occurrence = false;
};

// The sections of a capture, each distinct one once, in order of first appearance. Distinct
// means another PID or other bytes, so a copy that failed its CRC check never counts with an
// intact one.
struct capture_sections {
    std::vector<distinct_section> distinct;
    // Every section in stream order, as an index into distinct; kept only when asked for.
    std::optional<std::vector<std::size_t>> occurrences;
    std::size_t crc_failures = 0;  // occurrences whose CRC check failed
    ts::extraction_stats stats;
    std::string error;  // set when the capture could not be read
};

capture_sections read_capture_sections(const std::string& path, const section_selection& selection);

// "== PID 0x%04x table_id 0x%02x, M bytes, seen K times" (", CRC failed" added for a
// corrupted section) and the table's dump per distinct section, or per occurrence when the
// occurrences were kept; texts through the decoder attached to `out`.
void print_capture_sections(std::ostream& out, const capture_sections& sections);

// `kestrel-cli sections FILE.ts [--pid PID ...] [--all-pids] [--all]`.
int run_sections(std::span<char* const> args);

}  // namespace kestrel::cli
