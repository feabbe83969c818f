#include "app/card_list.h"

#include <algorithm>

#include "device/dvb_device.h"

namespace kestrel::app {

std::vector<startup::card_entry> card_list_entries(const std::string& spec_in_use, dvb_device* device) {
    std::vector<startup::card_entry> entries = startup::linux_cards();
    for (auto& capture : startup::capture_cards())
        entries.push_back(std::move(capture));
    const bool listed = std::any_of(entries.begin(), entries.end(),
                                    [&](const startup::card_entry& e) { return e.spec == spec_in_use; });
    if (!listed && device != nullptr && !spec_in_use.empty()) {
        std::string name;
        device->get_device_info(0, name);
        entries.push_back({spec_in_use, name});
    }
    return entries;
}

}  // namespace kestrel::app
