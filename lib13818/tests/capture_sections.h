#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace lib13818 {

// A makeshift transport stream section reader for tests over the real captures, until
// the transport stream layer exists.
struct CapturedSection {
    std::uint16_t pid = 0;
    std::vector<std::uint8_t> bytes;  // table_id .. end of section_length
};

// Every complete section carried on one of `pids` in the 188-byte packet file at `path`,
// in stream order. Follows pointer fields, several sections in one packet and sections
// spread over packets; a continuity break or an errored packet drops the section it
// interrupts. Returns nothing when the file cannot be read.
std::vector<CapturedSection> capture_sections(const std::string& path, const std::set<std::uint16_t>& pids);

// The capture files (*.ts) of the shared captures folder, sorted; empty when the folder
// is absent.
std::vector<std::string> capture_files();

}  // namespace lib13818
