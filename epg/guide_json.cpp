#include "epg/guide_json.h"

#include <nlohmann/json.hpp>

#include "epg/si_time.h"

namespace kestrel::epg {

namespace {

using nlohmann::ordered_json;

const char* fault_text(time_fault f) {
    return f == time_fault::undefined ? "undefined" : "not BCD";
}

ordered_json faults(const guide_event& e) {
    ordered_json out = ordered_json::array();
    if (e.start_fault != time_fault::none) out.push_back(std::string("start ") + fault_text(e.start_fault));
    if (e.duration_fault != time_fault::none)
        out.push_back(std::string("duration ") + fault_text(e.duration_fault));
    return out;
}

ordered_json component_json(const component& c) {
    static constexpr const char* kinds[] = {"video", "audio", "subtitles", "other"};
    return {{"stream_content", c.stream_content},
            {"component_type", c.component_type},
            {"kind", kinds[static_cast<int>(c.type)]},
            {"description", c.description},
            {"language", c.language},
            {"text", c.text}};
}

ordered_json event_json(const guide_event& e) {
    ordered_json items = ordered_json::array(), genres = ordered_json::array(),
                 ratings = ordered_json::array(), components = ordered_json::array();
    for (const event_item& i : e.items)
        items.push_back({i.description, i.item});
    for (const genre& g : e.genres)
        genres.push_back({{"level1", g.level1}, {"level2", g.level2}, {"name", g.name}});
    for (const parental_rating& r : e.ratings)
        ratings.push_back(r.is_age() ? ordered_json{{"country", r.country}, {"age", r.minimum_age()}}
                                     : ordered_json{{"country", r.country}, {"value", r.rating}});
    for (const component& c : e.components)
        components.push_back(component_json(c));
    ordered_json out;
    out["event_id"] = e.event_id;
    out["start_utc"] = e.start_utc ? ordered_json(iso8601_utc(*e.start_utc)) : ordered_json(nullptr);
    out["duration_s"] = e.duration_s ? ordered_json(*e.duration_s) : ordered_json(nullptr);
    out["faults"] = faults(e);
    out["language"] = e.language;
    out["title"] = e.title;
    out["short_text"] = e.short_text;
    out["extended_text"] = e.extended_text;
    out["items"] = std::move(items);
    out["genres"] = std::move(genres);
    out["parental_rating"] = std::move(ratings);
    out["components"] = std::move(components);
    out["content_identifiers"] = e.content_identifiers_hex;
    out["running_status"] = e.running_status;
    out["source"] = e.source == event_source::present_following ? "pf" : "schedule";
    out["overlaps"] = e.overlaps;
    return out;
}

}  // namespace

void write_json(std::ostream& out, const guide& g) {
    ordered_json services = ordered_json::array();
    for (const guide_service& s : g.services) {
        ordered_json events = ordered_json::array();
        for (const guide_event& e : s.events)
            events.push_back(event_json(e));
        services.push_back({{"original_network_id", s.key.original_network_id},
                            {"transport_stream_id", s.key.transport_stream_id},
                            {"service_id", s.key.service_id},
                            {"name", s.name},
                            {"events", std::move(events)}});
    }
    ordered_json doc;
    doc["stream_utc"] = g.stream_utc ? ordered_json(iso8601_utc(*g.stream_utc)) : ordered_json(nullptr);
    doc["local_time"] = g.local.describe();
    doc["services"] = std::move(services);
    // Invalid UTF-8 cannot come from the decoder; replace rather than throw all the same.
    out << doc.dump(2, ' ', false, ordered_json::error_handler_t::replace) << '\n';
}

}  // namespace kestrel::epg
