#include "epg/guide_filter.h"

#include <algorithm>

namespace kestrel::epg {

guide select(const guide& all, const guide_selection& selection) {
    guide out;
    out.stream_utc = all.stream_utc;
    out.local = all.local;
    const std::optional<std::int64_t> now = all.current_utc();
    const auto kept = [&](const guide_event& e) {
        if (!selection.days) return true;
        if (!e.start_utc || !now) return false;
        return e.end_utc().value_or(*e.start_utc) > *now &&
               *e.start_utc < *now + std::int64_t{*selection.days} * 86400;
    };
    for (const guide_service& s : all.services) {
        if (!selection.services.empty() && !selection.services.contains(s.key.service_id)) continue;
        guide_service copy{s.key, s.name, {}};
        std::copy_if(s.events.begin(), s.events.end(), std::back_inserter(copy.events), kept);
        if (!copy.events.empty()) out.services.push_back(std::move(copy));
    }
    return out;
}

}  // namespace kestrel::epg
