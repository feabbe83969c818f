#pragma once

#include <optional>
#include <string>

#include "epg/guide.h"
#include "epg/local_time.h"
#include "epg/section_store.h"

namespace kestrel::epg {

struct build_options {
    // The table for texts without a selector: an iconv name ("" ISO/IEC 6937); unset, each
    // network's is guessed from its own texts, as the table tree does.
    std::optional<std::string> charset;
    local_time_settings local;
};

// The guide from what the store kept. Sections that do not decode are left out. An event
// (onid, tsid, sid, event_id) sent more than once is taken from present/following before
// the schedule, and else from the section received last; events of a service that share
// time are marked as overlapping.
guide build_guide(const section_store& store, const build_options& options);

}  // namespace kestrel::epg
