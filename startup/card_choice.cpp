#include "startup/card_choice.h"

#include <algorithm>
#include <charconv>

#include "device/linux/linux_card.h"

namespace kestrel::startup {

namespace {

constexpr std::string_view linux_prefix = "linux:";

card_choice refuse(std::string_view spec, std::string_view reason) {
    return {nullptr, std::string(spec), "card '" + std::string(spec) + "': " + std::string(reason)};
}

card_choice choose_linux_card(std::string_view spec, linux_kernel& kernel) {
    const std::string_view number = spec.substr(linux_prefix.size());
    int adapter = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), adapter);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || adapter < 0)
        return refuse(spec, "the adapter must be a number, as in linux:0");
    const std::vector<int> found = linux_card::find_adapters(kernel);
    if (std::find(found.begin(), found.end(), adapter) == found.end())
        return refuse(spec, "no DVB adapter " + std::to_string(adapter) + " (/dev/dvb/adapter" +
                                std::to_string(adapter) + " missing)");
    return {std::make_unique<linux_card>(kernel, adapter), std::string(spec), ""};
}

}  // namespace

card_choice choose_card(std::string_view spec, linux_kernel& kernel) {
    if (spec.empty()) {
        const std::vector<int> found = linux_card::find_adapters(kernel);
        if (found.empty()) return choose_capture_card("demo");
        const std::string first = std::string(linux_prefix) + std::to_string(found.front());
        return {std::make_unique<linux_card>(kernel, found.front()), first, ""};
    }
    if (spec.starts_with(linux_prefix)) return choose_linux_card(spec, kernel);
    if (spec.starts_with("demo") || spec.starts_with("capture:")) return choose_capture_card(spec);
    return refuse(spec, "unknown card (use linux:N, capture:FILE or demo)");
}

std::vector<card_entry> linux_cards(linux_kernel& kernel) {
    std::vector<card_entry> entries;
    const std::vector<int> found = linux_card::find_adapters(kernel);
    if (found.empty()) return entries;
    linux_card any(kernel, found.front());
    for (std::size_t i = 0; i < found.size(); ++i) {
        card_description description;
        any.describe(static_cast<std::uint16_t>(i), description);
        entries.push_back({std::string(linux_prefix) + std::to_string(found[i]),
                           description.name + " (" + description.detail + ")"});
    }
    return entries;
}

}  // namespace kestrel::startup
