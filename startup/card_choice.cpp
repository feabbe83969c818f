#include "startup/card_choice.h"

#include <algorithm>
#include <charconv>

#include "device/linux/delivery_systems.h"
#include "device/linux/linux_card.h"

namespace kestrel::startup {

namespace {

constexpr std::string_view linux_prefix = "linux:";

card_choice refuse(std::string_view spec, std::string_view reason) {
    return {nullptr, std::string(spec), "card '" + std::string(spec) + "': " + std::string(reason)};
}

// "?dvb-s", "?dvb-s2", "?dvb-c", "?dvb-t" or "?dvb-t2" after the adapter number: the system
// a tuning that names none asks for, and with it the frontend type of a multi-standard
// frontend. Gives false for any other option.
bool system_option(std::string_view option, lib13818::DeliverySystem& system) {
    return option.starts_with("dvb-") && lib13818::parse(option, system) &&
           system != lib13818::DeliverySystem::automatic;
}

card_choice choose_linux_card(std::string_view spec, linux_kernel& kernel) {
    std::string_view number = spec.substr(linux_prefix.size());
    lib13818::DeliverySystem system = lib13818::DeliverySystem::automatic;
    if (const auto question = number.find('?'); question != std::string_view::npos) {
        const std::string_view option = number.substr(question + 1);
        if (!system_option(option, system))
            return refuse(
                spec, "unknown option '" + std::string(option) + "' (dvb-s, dvb-s2, dvb-c, dvb-t or dvb-t2)");
        number = number.substr(0, question);
    }
    int adapter = -1;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), adapter);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || adapter < 0)
        return refuse(spec, "the adapter must be a number, as in linux:0");
    const std::vector<int> found = linux_card::find_adapters(kernel);
    if (std::find(found.begin(), found.end(), adapter) == found.end())
        return refuse(spec, "no DVB adapter " + std::to_string(adapter) + " (/dev/dvb/adapter" +
                                std::to_string(adapter) + " missing)");
    linux_card::frontend_description frontend;
    if (system != lib13818::DeliverySystem::automatic &&
        linux_card::describe_frontend(kernel, adapter, frontend) == 0 &&
        !default_system(frontend.systems, system))
        return refuse(spec, "adapter " + std::to_string(adapter) + " (" + frontend.name + ") offers no " +
                                lib13818::name(system) + ", only " + delivery_system_names(frontend.systems));
    return {std::make_unique<linux_card>(kernel, adapter, system), std::string(spec), ""};
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
        const std::int32_t error = any.describe(static_cast<std::uint16_t>(i), description);
        entries.push_back({std::string(linux_prefix) + std::to_string(found[i]),
                           description.name + " (" + description.detail + ")", error});
    }
    return entries;
}

}  // namespace kestrel::startup
