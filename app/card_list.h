#pragma once

#include <string>
#include <vector>

#include "startup/card_choice.h"

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

// The card bar's list: every card kestrel-cli cards lists, then the card in use when it
// is none of them (a capture file), named by the device.
std::vector<startup::card_entry> card_list_entries(const std::string& spec_in_use, dvb_device* device);

}  // namespace kestrel::app
