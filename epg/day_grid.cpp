#include "epg/day_grid.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "epg/guide_text.h"
#include "epg/si_time.h"

namespace kestrel::epg {

namespace {

// Minutes of `day` at the local time of `utc`, clipped to the day.
int minute_in_day(const local_time& local, std::int64_t utc, std::int64_t day) {
    const std::int64_t minutes = (local.to_local(utc) - day_start(day)) / 60;
    return static_cast<int>(std::clamp<std::int64_t>(minutes, 0, day_minutes));
}

bool contains_folded(std::string_view text, std::string_view needle) {
    const auto fold = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };
    return std::search(text.begin(), text.end(), needle.begin(), needle.end(),
                       [&](char a, char b) { return fold(a) == fold(b); }) != text.end();
}

std::string duration_text(std::int32_t seconds) {
    const int minutes = seconds / 60;
    std::string out = minutes >= 60 ? std::to_string(minutes / 60) + " h " : "";
    return out + std::to_string(minutes % 60) + " min";
}

std::string fault_text(time_fault f) {
    return f == time_fault::undefined ? "undefined" : "not BCD";
}

}  // namespace

std::vector<std::int64_t> local_days(const guide& g) {
    std::set<std::int64_t> days;
    for (const guide_service& s : g.services)
        for (const guide_event& e : s.events) {
            if (!e.start_utc) continue;
            const std::int64_t first = day_of(g.local.to_local(*e.start_utc));
            // An event that ends at midnight does not run on the next day.
            const std::int64_t last = day_of(g.local.to_local(e.end_utc().value_or(*e.start_utc + 1) - 1));
            for (std::int64_t d = first; d <= std::max(first, last); ++d)
                days.insert(d);
        }
    return {days.begin(), days.end()};
}

std::optional<std::int64_t> first_day(const guide& g) {
    const std::vector<std::int64_t> days = local_days(g);
    if (days.empty()) return std::nullopt;
    if (const auto now = g.current_utc()) {
        const std::int64_t today = day_of(g.local.to_local(*now));
        if (std::find(days.begin(), days.end(), today) != days.end()) return today;
    }
    return days.front();
}

day_grid layout_day(const guide& g, std::int64_t day) {
    day_grid grid;
    grid.day = day;
    const std::int64_t begins = day_start(day), ends = day_start(day + 1);
    for (std::size_t s = 0; s < g.services.size(); ++s)
        for (std::size_t i = 0; i < g.services[s].events.size(); ++i) {
            const guide_event& e = g.services[s].events[i];
            if (!e.start_utc) continue;
            const std::int64_t start = g.local.to_local(*e.start_utc);
            const std::int64_t end = e.end_utc() ? g.local.to_local(*e.end_utc()) : start;
            if (start >= ends || (end <= begins && !(end == start && start >= begins))) continue;
            grid.blocks.push_back({s, i, minute_in_day(g.local, *e.start_utc, day),
                                   e.end_utc() ? minute_in_day(g.local, *e.end_utc(), day)
                                               : minute_in_day(g.local, *e.start_utc, day),
                                   e.overlaps});
        }
    if (const auto now = g.current_utc(); now && day_of(g.local.to_local(*now)) == day)
        grid.now_minute = minute_in_day(g.local, *now, day);
    return grid;
}

bool matches(const guide_event& e, std::string_view needle) {
    if (needle.empty()) return false;
    for (const std::string* text : {&e.title, &e.short_text, &e.extended_text})
        if (contains_folded(*text, needle)) return true;
    return std::any_of(e.items.begin(), e.items.end(), [&](const event_item& i) {
        return contains_folded(i.description, needle) || contains_folded(i.item, needle);
    });
}

std::vector<std::pair<std::string, std::string>> event_details(const guide& g, const guide_event& e) {
    std::vector<std::pair<std::string, std::string>> rows{{"Title", e.title}};
    if (e.start_utc) {
        const std::int64_t local = g.local.to_local(*e.start_utc);
        std::string when = day_text(day_of(local)) + ' ' + clock_text(local);
        if (const auto end = e.end_utc()) when += '-' + clock_text(g.local.to_local(*end));
        rows.push_back({"Time", when});
        rows.push_back({"Start (UTC)", iso8601_utc(*e.start_utc)});
    } else {
        rows.push_back({"Time", "start " + fault_text(e.start_fault)});
    }
    rows.push_back({"Duration", e.duration_s ? duration_text(*e.duration_s) : fault_text(e.duration_fault)});
    std::string genres;
    for (const genre& gn : e.genres)
        if (!gn.name.empty()) genres += (genres.empty() ? "" : ", ") + gn.name;
    if (!genres.empty()) rows.push_back({"Genre", genres});
    for (const parental_rating& r : e.ratings)
        rows.push_back({"Rating", r.country + ": " +
                                      (r.is_age() ? "from " + std::to_string(r.minimum_age())
                                                  : "broadcaster's " + std::to_string(r.rating))});
    for (const component& c : e.components)
        rows.push_back({"Component", c.description + (c.text.empty() ? "" : " (" + c.text + ")")});
    if (!e.short_text.empty()) rows.push_back({"Short text", e.short_text});
    if (!e.extended_text.empty()) rows.push_back({"Text", e.extended_text});
    for (const event_item& i : e.items)
        rows.push_back({i.description, i.item});
    for (const std::string& crid : e.content_identifiers_hex)
        rows.push_back({"Content identifier", crid});
    rows.push_back(
        {"Event", std::to_string(e.event_id) + (e.overlaps ? ", overlaps another event" : "") +
                      (e.source == event_source::present_following ? ", present/following" : ", schedule")});
    return rows;
}

}  // namespace kestrel::epg
