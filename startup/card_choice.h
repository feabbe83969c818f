#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/card.h"
#include "device/linux/linux_kernel.h"

namespace kestrel::startup {

// The card a SPEC names, or a one-line reason why there is none.
struct card_choice {
    std::unique_ptr<card> chosen;
    std::string spec;   // the SPEC in effect ("linux:0" when the first adapter was taken)
    std::string error;  // "card 'SPEC': reason" when nothing was chosen
};

// SPEC: "linux:N" (Linux DVB adapter N; "?dvb-s", "?dvb-s2", "?dvb-c", "?dvb-t" or "?dvb-t2"
// names the system of a multi-standard frontend), "capture:FILE.ts" or "capture:MANIFEST" (with
// "?dvb-c", "?dvb-t", "?realtime" joined by '&'), "demo" (the bundled demo network).
// An empty SPEC takes the first Linux adapter, else the demo.
card_choice choose_card(std::string_view spec, linux_kernel& kernel = system_kernel());

// Capture cards ("capture:..." and "demo"): the one place that builds them.
card_choice choose_capture_card(std::string_view spec);

// A card that can be chosen, as `kestrel-cli cards` lists it.
struct card_entry {
    std::string spec;
    std::string name;
    int open_error = 0;  // 0, or the errno opening or asking the adapter failed with
};
// The Linux adapters found, named by their frontends.
std::vector<card_entry> linux_cards(linux_kernel& kernel = system_kernel());
// The capture cards that can always be chosen.
std::vector<card_entry> capture_cards();

}  // namespace kestrel::startup
