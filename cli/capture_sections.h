#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "ts/section_extractor.h"

namespace kestrel::cli {

// Which PIDs `kestrel-cli sections` reads: by default 0x00-0x1F and the PMT PIDs the PATs
// name; else the given list; or every PID.
struct section_selection {
    std::vector<std::uint16_t> pids{};
    bool all_pids = false;
};

// One distinct section of a capture: its first occurrence and how often it was seen. A
// section that failed its CRC check is distinct from every intact one.
struct distinct_section {
    std::uint16_t pid = 0;
    std::vector<std::uint8_t> bytes;
    std::size_t seen = 0;
    bool crc_failed = false;
};

// The sections of a capture, each distinct one once, in order of first appearance.
// Distinct means, for long-form sections, another PID, table_id, table_id_extension,
// section_number, version or CRC_32; for short-form ones (TDT, TOT, RST) and those that
// failed their CRC check another PID or other bytes.
struct capture_sections {
    std::vector<distinct_section> distinct;
    std::vector<std::size_t> occurrences;  // every section in stream order, as an index into distinct
    std::size_t crc_failures = 0;          // occurrences whose CRC check failed
    ts::extraction_stats stats;
    std::string error;  // set when the capture could not be read
};

capture_sections read_capture_sections(const std::string& path, const section_selection& selection);

// "== PID 0x%04x table_id 0x%02x, M bytes, seen K times" (", CRC failed" added for a
// corrupted section) and the table's dump per distinct section, or per occurrence with
// `every_occurrence`; texts through the decoder attached to `out`.
void print_capture_sections(std::ostream& out, const capture_sections& sections, bool every_occurrence);

// `kestrel-cli sections FILE.ts [--pid PID ...] [--all-pids] [--all]`.
int run_sections(std::span<char* const> args);

}  // namespace kestrel::cli
