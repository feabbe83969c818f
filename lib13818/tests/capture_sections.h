#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace lib13818 {

// The sections of the real captures, read with the transport stream layer, for tests.
struct CapturedSection {
    std::uint16_t pid = 0;
    std::vector<std::uint8_t> bytes;  // table_id .. end of section_length
};

// Every complete section carried on one of `pids` in the capture at `path`, in stream
// order. Returns nothing when the file cannot be read.
std::vector<CapturedSection> capture_sections(const std::string& path, const std::set<std::uint16_t>& pids);

// The capture files (*.ts) of the shared captures folder, sorted; empty when the folder
// is absent.
std::vector<std::string> capture_files();

}  // namespace lib13818
