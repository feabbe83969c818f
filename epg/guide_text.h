#pragma once

#include <ostream>

#include "epg/guide.h"

namespace kestrel::epg {

// The guide as text, per service and per local day: a heading naming the local time, then
// for each service "NAME (service 0xSSSS, transport stream 0xTTTT, network 0xNNNN)", its
// days ("  Saturday 2026-03-14") and its events ("    hh:mm-hh:mm  title  [genre]", the
// end left blank without a duration, "*" before an overlapping event), and last the events
// without a valid start ("  without a valid start:"). Events without a title are skipped.
// Returns the number of events written.
std::size_t write_text(std::ostream& out, const guide& g);

// The first named genre of an event, or "".
std::string first_genre(const guide_event& e);

}  // namespace kestrel::epg
