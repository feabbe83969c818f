#include "startup/card_choice.h"

namespace kestrel::startup {

card_choice choose_capture_card(std::string_view spec) {
    return {nullptr, std::string(spec),
            "card '" + std::string(spec) + "': the capture card is not built yet"};
}

std::vector<card_entry> capture_cards() {
    return {{"demo", "the Kestrel demo network (capture card)"}};
}

}  // namespace kestrel::startup
