#pragma once

// VDR's channels.conf: one line per entry,
// Name;Provider:Frequency:Parameters:Source:Srate:VPID:APID:TPID:CA:SID:NID:TID:RID

#include <ostream>
#include <span>
#include <stdexcept>

#include "channels/channel_entry.h"

namespace kestrel::channels {

// A list the format cannot hold, with the reason (which entry, what is missing).
class channel_list_error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Writes the entries in their order: satellite frequencies in MHz, cable and terrestrial in
// kHz; Source "S19.2E" from the orbital position, "C" or "T"; the parameter letters with 999
// where the scan left a value automatic; VPID "video+PCR=type", APID "pid=lang@type,..." and
// after ';' the AC-3 and enhanced AC-3 streams, TPID teletext and after ';' the subtitles;
// CA the system ids in hexadecimal ("0" for none). Throws channel_list_error, before
// writing anything, for a satellite entry whose orbital position the scan did not learn.
void write_vdr(std::ostream& out, std::span<const channel_entry> entries);

}  // namespace kestrel::channels
