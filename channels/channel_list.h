#pragma once

// A channel list file from a scan result, in one of the formats Linux players and recorders
// read. The GUI and kestrel-cli both write through here.

#include <cstddef>
#include <string>
#include <string_view>

#include "channels/dvbv5_writer.h"
#include "model/scan_result.h"
#include "settings/settings_store.h"

namespace kestrel::channels {

enum class channel_format { dvbv5, vdr };

// "dvbv5" or "vdr"; false for any other text.
bool parse_channel_format(std::string_view text, channel_format& format);

// The LNB the settings hold ("DISQ"/"LOF1", "LOF2", "SWITCH").
lnb_oscillators stored_lnb(settings_store& store);

// Writes the list of the scan into `path`, whole or not at all (a temporary file renamed
// over it once complete; a file already there is replaced). Returns "" and sets `written`
// to the number of entries, or the reason it failed, and then `path` holds what it held.
std::string write_channel_list(const std::string& path, const AllNetworks& networks, channel_format format,
                               const lnb_oscillators& lnb, std::size_t& written);

}  // namespace kestrel::channels
