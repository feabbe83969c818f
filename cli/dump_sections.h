#pragma once

#include <cstdio>
#include <ostream>
#include <span>

namespace kestrel::cli {

// Reads concatenated raw sections (each section_length + 3 bytes) from `in` and writes,
// per section, a header line and its dump. A section that fails to decode is reported
// and skipped; a truncated last section ends the output. Returns false when `in` fails
// to read (errno then tells why).
bool dump_sections(std::FILE* in, std::ostream& out);

// `kestrel-cli dump-sections FILE|-`.
int run_dump_sections(std::span<char* const> args);

}  // namespace kestrel::cli
