#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <span>
#include <string>

namespace kestrel::cli {

// What `kestrel-cli epg` is asked to do.
struct epg_request {
    std::string file;                  // a capture FILE.ts read in one pass, or
    std::string card;                  // --card SPEC, collected until complete or `seconds`
    std::string xmltv;                 // --xmltv FILE
    bool json = false;                 // --json instead of the text listing
    bool force = false;                // --force: an existing XMLTV file may be replaced
    std::set<std::uint16_t> services;  // --service SID ...
    std::optional<int> days;           // --days N
    std::uint32_t seconds = 60;        // --seconds N, on the card's clock
};

// Reads the arguments after `epg`: "" or a one-line error.
std::string parse_epg_request(std::span<char* const> args, epg_request& request);

extern const char* const epg_usage;
int run_epg(std::span<char* const> args);

}  // namespace kestrel::cli
