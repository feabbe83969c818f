#include "lib13818/tables/selectorless_texts.h"

namespace lib13818 {

namespace {

void add(const DvbString& s, std::vector<std::string_view>& texts) {
    if (s.selector.empty() && !s.text.empty()) texts.push_back(s.text);
}

// A name that still carries its selector: a first byte below 0x20 is one.
void add_raw(const std::string& name, std::vector<std::string_view>& texts) {
    if (!name.empty() && static_cast<unsigned char>(name[0]) >= 0x20) texts.push_back(name);
}

}  // namespace

void collect_selectorless_texts(const Eit& eit, std::vector<std::string_view>& texts) {
    for (const EitEvent& event : eit.events) {
        for (const auto& d : event.short_event) {
            add(d.event_name, texts);
            add(d.text, texts);
        }
        for (const auto& d : event.extended_event) {
            add(d.text, texts);
            for (const auto& item : d.items) {
                add(item.item_description, texts);
                add(item.item, texts);
            }
        }
        for (const auto& d : event.component)
            add(d.text, texts);
    }
}

void collect_selectorless_texts(const Sdt& sdt, std::vector<std::string_view>& texts) {
    for (const SdtService& service : sdt.services)
        for (const auto& d : service.service) {
            add_raw(d.provider_name, texts);
            add_raw(d.service_name, texts);
        }
}

}  // namespace lib13818
