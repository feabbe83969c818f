#pragma once

// The satellite list "satellitecfg.txt": the satellites the user can receive and, for each,
// the transponders a scan can start from. Read once at start-up; the program never writes it.
//
// A line is a transponder line when it is a double quote, the name (no double quote in it),
// the closing quote, any one character (not examined; normally a comma), then orbital,
// frequency, polarisation, symbol rate and FEC as decimal numbers (as strtol reads them)
// separated by commas; whatever follows the FEC is ignored. Every other line is ignored.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

struct satellite_transponder {
    std::int32_t orbital = 0;       // as written in the file
    std::int32_t frequency = 0;     // MHz
    std::int32_t polarisation = 0;  // 0 H, 1 V, 2 circular left, 3 circular right
    std::int32_t symbol_rate = 0;   // kilosymbols per second
    std::int32_t fec = 0;           // 1..5 are tuned as they are, anything else as 15
};

class CSatelliteList {
  public:
    // Satellite name (byte by byte, case-sensitive) -> its transponders in file order.
    using map = std::map<std::string, std::vector<satellite_transponder>>;

    // Adds the records of the file; a file that cannot be opened leaves the list as it was.
    // Lines longer than 1023 characters are read in pieces, each piece a line of its own.
    void ParseList(const std::string& path);
    // Adds the line's record when the line has the form above.
    void parse_line(std::string_view line);

    // The satellite's transponders, or null when the name is not in the list.
    const std::vector<satellite_transponder>* find(std::string_view name) const;
    const map& satellites() const { return satellites_; }

  private:
    map satellites_;
};

}  // namespace kestrel
