#include "views/network_charset.h"

#include "lib13818/core/dvb_text.h"

namespace kestrel::views {

namespace {

void add(std::vector<std::string_view>& out, const lib13818::DvbString& text) {
    if (text.selector.empty() && !text.text.empty()) out.push_back(text.text);
}

// A service descriptor's name keeps its selector as its first byte.
void add_raw(std::vector<std::string_view>& out, const std::string& raw) {
    if (!raw.empty() && static_cast<unsigned char>(raw[0]) >= 0x20) out.push_back(raw);
}

void add_services(std::vector<std::string_view>& out, const SdtMap& sdts) {
    for (const auto& [onid, streams] : sdts)
        for (const auto& [tsid, sections] : streams)
            for (const auto& [number, sdt] : sections)
                for (const auto& service : sdt.services)
                    for (const auto& d : service.service) {
                        add_raw(out, d.provider_name);
                        add_raw(out, d.service_name);
                    }
}

void add_events(std::vector<std::string_view>& out, const EitMap& eits) {
    for (const auto& [onid, streams] : eits)
        for (const auto& [tsid, services] : streams)
            for (const auto& [sid, sections] : services)
                for (const auto& [number, eit] : sections)
                    for (const auto& event : eit.events) {
                        for (const auto& d : event.short_event) {
                            add(out, d.event_name);
                            add(out, d.text);
                        }
                        for (const auto& d : event.extended_event) {
                            add(out, d.text);
                            for (const auto& item : d.items) {
                                add(out, item.item_description);
                                add(out, item.item);
                            }
                        }
                        for (const auto& d : event.component)
                            add(out, d.text);
                    }
}

}  // namespace

std::vector<std::string_view> selectorless_texts(const Network& network) {
    std::vector<std::string_view> out;
    for (const auto& [tsid, tp] : network.transponders) {
        add_services(out, tp.sdt_actual);
        add_services(out, tp.sdt_other);
        for (const EitMap* eits : {&tp.eit_actual_present_following, &tp.eit_other_present_following,
                                   &tp.eit_actual_schedule, &tp.eit_other_schedule})
            add_events(out, *eits);
    }
    return out;
}

std::string network_charset(const Network& network, const std::optional<std::string>& override_charset) {
    if (override_charset) return *override_charset;
    return lib13818::guess_default_charset(selectorless_texts(network));
}

}  // namespace kestrel::views
