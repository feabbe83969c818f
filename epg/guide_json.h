#pragma once

#include <ostream>

#include "epg/guide.h"

namespace kestrel::epg {

// The guide as one JSON document (UTF-8, times UTC): {"local_time": ..., "services": [{
// "original_network_id", "transport_stream_id", "service_id", "name", "events": [{
// "event_id", "start_utc" ("2026-12-07T20:15:00Z" or null), "duration_s" (or null),
// "faults", "title", "short_text", "extended_text", "items" [[description, item]],
// "genres" [{"level1", "level2", "name"}], "parental_rating" [{"country", "age"} or
// {"country", "value"}], "components", "content_identifiers", "running_status",
// "source" ("pf" or "schedule"), "overlaps"}]}]}.
void write_json(std::ostream& out, const guide& g);

}  // namespace kestrel::epg
