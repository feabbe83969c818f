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

// "?dvb-s", "?dvb-c" or "?dvb-t" after the adapter number: the type of a multi-standard
// frontend to use. Gives false for any other option.
bool frontend_option(std::string_view option, std::int32_t& type) {
    constexpr std::pair<std::string_view, std::int32_t> options[] = {
        {"dvb-s", frontend_dvb_s}, {"dvb-c", frontend_dvb_c}, {"dvb-t", frontend_dvb_t}};
    for (const auto& [name, value] : options)
        if (option == name) {
            type = value;
            return true;
        }
    return false;
}

card_choice choose_linux_card(std::string_view spec, linux_kernel& kernel) {
    std::string_view number = spec.substr(linux_prefix.size());
    std::int32_t type = frontend_none;
    if (const auto question = number.find('?'); question != std::string_view::npos) {
        const std::string_view option = number.substr(question + 1);
        if (!frontend_option(option, type))
            return refuse(spec, "unknown option '" + std::string(option) + "' (dvb-s, dvb-c or dvb-t)");
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
    if (type != frontend_none && linux_card::describe_frontend(kernel, adapter, frontend) == 0 &&
        !system_for_type(frontend.systems, type))
        return refuse(spec, "adapter " + std::to_string(adapter) + " (" + frontend.name + ") offers no " +
                                frontend_type_name(type) + ", only " +
                                delivery_system_names(frontend.systems));
    return {std::make_unique<linux_card>(kernel, adapter, type), std::string(spec), ""};
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
