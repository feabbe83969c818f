#include "epg/guide_builder.h"

#include <algorithm>
#include <deque>
#include <map>

#include "epg/event_decoder.h"
#include "epg/si_time.h"
#include "lib13818/core/error.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tables/selectorless_texts.h"
#include "lib13818/tables/tdt.h"
#include "lib13818/tables/tot.h"

namespace kestrel::epg {

namespace {

template <class Table>
std::optional<Table> parsed(const std::vector<std::uint8_t>& bytes) {
    Table table;
    try {
        table.parse(bytes.data(), bytes.size());
    } catch (const lib13818::error&) {
        return std::nullopt;
    }
    return table;
}

struct received_eit {
    lib13818::Eit eit;
    std::uint64_t order;
};

// The EIT event chosen for one (service, event_id) so far.
struct candidate {
    const lib13818::EitEvent* event;
    std::uint64_t order;
    bool present_following;

    bool beaten_by(const candidate& other) const {
        if (other.present_following != present_following) return other.present_following;
        return other.order > order;
    }
};

service_key key_of(const lib13818::Eit& eit) {
    return {static_cast<std::uint16_t>(eit.original_network_id),
            static_cast<std::uint16_t>(eit.transport_stream_id),
            static_cast<std::uint16_t>(eit.table_id_extension)};
}

// Each network's decoder: the override, or the guess from that network's selector-less texts.
class network_decoders {
  public:
    network_decoders(const std::deque<received_eit>& eits, const std::deque<lib13818::Sdt>& sdts,
                     const std::optional<std::string>& charset) {
        std::map<int, std::vector<std::string_view>> texts;
        for (const auto& r : eits)
            lib13818::collect_selectorless_texts(r.eit, texts[r.eit.original_network_id]);
        for (const auto& sdt : sdts)
            lib13818::collect_selectorless_texts(sdt, texts[sdt.original_network_id]);
        for (const auto& [onid, network_texts] : texts)
            decoders_.emplace(onid, lib13818::dvb_text_decoder(
                                        charset ? *charset : lib13818::guess_default_charset(network_texts)));
    }
    lib13818::dvb_text_decoder& of(int onid) {
        auto it = decoders_.find(onid);
        if (it == decoders_.end()) it = decoders_.emplace(onid, lib13818::dvb_text_decoder()).first;
        return it->second;
    }

  private:
    std::map<int, lib13818::dvb_text_decoder> decoders_;
};

void mark_overlaps(std::vector<guide_event>& events) {
    std::stable_sort(events.begin(), events.end(), [](const guide_event& a, const guide_event& b) {
        if (a.start_utc.has_value() != b.start_utc.has_value()) return a.start_utc.has_value();
        return a.start_utc < b.start_utc;
    });
    // Sorted by start: an event overlaps a later one that starts before the latest end so far.
    std::optional<std::int64_t> latest_end;
    guide_event* latest = nullptr;
    for (guide_event& e : events) {
        if (!e.start_utc) break;
        if (latest_end && *e.start_utc < *latest_end) {
            e.overlaps = true;
            latest->overlaps = true;
        }
        const std::int64_t end = e.end_utc().value_or(*e.start_utc);
        if (!latest_end || end > *latest_end) {
            latest_end = end;
            latest = &e;
        }
    }
}

}  // namespace

guide build_guide(const section_store& store, const build_options& options) {
    std::deque<received_eit> eits;
    store.for_each_eit([&](const stored_section& s) {
        if (auto eit = parsed<lib13818::Eit>(s.bytes)) eits.push_back({std::move(*eit), s.order});
    });
    std::deque<lib13818::Sdt> sdts;
    for (const auto& [key, s] : store.sdt_sections())
        if (auto sdt = parsed<lib13818::Sdt>(s.bytes)) sdts.push_back(std::move(*sdt));
    network_decoders decoders(eits, sdts, options.charset);

    std::map<std::pair<service_key, int>, candidate> chosen;
    for (const auto& r : eits) {
        const bool pf = r.eit.table_id == 0x4E || r.eit.table_id == 0x4F;
        for (const auto& event : r.eit.events) {
            const candidate c{&event, r.order, pf};
            const auto [it, added] = chosen.try_emplace({key_of(r.eit), event.event_id}, c);
            if (!added && it->second.beaten_by(c)) it->second = c;
        }
    }

    guide g;
    std::map<service_key, guide_service> services;
    for (const auto& [key, c] : chosen) {
        guide_service& service = services[key.first];
        service.key = key.first;
        service.events.push_back(decode_event(
            *c.event, c.present_following ? event_source::present_following : event_source::schedule,
            decoders.of(key.first.original_network_id)));
    }
    for (const auto& sdt : sdts)
        for (const auto& entry : sdt.services) {
            const service_key key{static_cast<std::uint16_t>(sdt.original_network_id),
                                  static_cast<std::uint16_t>(sdt.table_id_extension),
                                  static_cast<std::uint16_t>(entry.service_id)};
            const auto it = services.find(key);
            if (it == services.end() || entry.service.empty()) continue;
            it->second.name =
                decoders.of(key.original_network_id).to_utf8(entry.service.front().service_name);
        }
    for (auto& [key, service] : services) {
        if (service.name.empty()) service.name = unnamed_service(key.service_id);
        mark_overlaps(service.events);
        g.services.push_back(std::move(service));
    }

    const auto& tdt_section = store.latest_tdt();
    const auto& tot_section = store.latest_tot();
    const auto tdt = tdt_section ? parsed<lib13818::Tdt>(tdt_section->bytes) : std::nullopt;
    const auto tot = tot_section ? parsed<lib13818::Tot>(tot_section->bytes) : std::nullopt;
    // The later of the two tells the stream's time.
    if (tot && (!tdt || tot_section->order > tdt_section->order))
        g.stream_utc = to_utc_seconds(tot->UTC_time).value;
    else if (tdt)
        g.stream_utc = to_utc_seconds(tdt->UTC_time).value;
    g.local = local_time::choose(options.local, tot ? &*tot : nullptr);
    return g;
}

}  // namespace kestrel::epg
