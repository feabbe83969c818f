#include "epg/guide_text.h"

#include <cstdio>

#include "epg/si_time.h"

namespace kestrel::epg {

namespace {

std::string service_heading(const guide_service& s) {
    char ids[80];
    std::snprintf(ids, sizeof ids, " (service 0x%04X, transport stream 0x%04X, network 0x%04X)",
                  s.key.service_id, s.key.transport_stream_id, s.key.original_network_id);
    return s.name + ids;
}

void write_event(std::ostream& out, const local_time& local, const guide_event& e) {
    out << "    " << (e.overlaps ? "*" : "") << clock_text(local.to_local(*e.start_utc)) << '-';
    if (const auto end = e.end_utc())
        out << clock_text(local.to_local(*end));
    else
        out << "     ";
    out << "  " << e.title;
    if (const std::string genre = first_genre(e); !genre.empty()) out << "  [" << genre << ']';
    out << '\n';
}

}  // namespace

std::string first_genre(const guide_event& e) {
    for (const genre& g : e.genres)
        if (!g.name.empty()) return g.name;
    return "";
}

std::size_t write_text(std::ostream& out, const guide& g) {
    std::size_t written = 0;
    out << "Local time: " << g.local.describe() << '\n';
    for (const guide_service& s : g.services) {
        out << '\n' << service_heading(s) << '\n';
        std::optional<std::int64_t> shown_day;
        bool undated = false;
        for (const guide_event& e : s.events) {
            if (e.title.empty()) continue;
            if (!e.start_utc) {
                if (!undated) out << "  without a valid start:\n";
                undated = true;
                out << "    " << e.title << '\n';
                ++written;
                continue;
            }
            const std::int64_t day = day_of(g.local.to_local(*e.start_utc));
            if (day != shown_day) out << "  " << day_text(day) << '\n';
            shown_day = day;
            write_event(out, g.local, e);
            ++written;
        }
    }
    return written;
}

}  // namespace kestrel::epg
