#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "channels/channel_list.h"
#include "model/scan_result.h"

namespace kestrel::cli {

// What `kestrel-cli scan` is asked to do.
struct scan_request {
    std::string card;  // --card SPEC; "" = the stored or default card
    std::int32_t mode = ScanContext::current_transponder;
    std::optional<std::int32_t> tables;  // --tables MASK for this run, never written
    bool quiet = false;                  // no progress on standard error
    std::string export_path;             // --export FILE: the scan result into this database
    std::string channels_path;           // --channels FILE: the channel list into this file
    channels::channel_format channel_format = channels::channel_format::dvbv5;  // --channel-format
    bool force = false;   // --force: an existing export_path or channels_path may be replaced
    bool tree = false;    // --tree: the table tree instead of the summary
    bool values = false;  // --values: the tree with every record's rows
    bool json = false;    // --json: the whole result as JSON
};

// Reads the arguments after `scan`: "" or a one-line error.
std::string parse_scan_request(std::span<char* const> args, scan_request& request);

extern const char* const scan_usage;
int run_scan(std::span<char* const> args);

}  // namespace kestrel::cli
