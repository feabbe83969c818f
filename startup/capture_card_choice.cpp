#include "device/capture/capture_spec.h"
#include "log/log_location.h"
#include "startup/card_choice.h"
#include "startup/data_directory.h"

namespace kestrel::startup {

card_choice choose_capture_card(std::string_view spec) {
    const std::string name(spec);
    const std::filesystem::path demo =
        find_data_file(data_directories(executable_path()), demo_manifest_file);
    if (spec.starts_with("demo") && demo.empty())
        return {nullptr, name,
                "card '" + name + "': the demo network is not installed (no " + demo_manifest_file +
                    " in the data folders)"};
    std::string error;
    std::unique_ptr<card> chosen = open_capture_spec(spec, demo.string(), error);
    if (!chosen) return {nullptr, name, "card '" + name + "': " + error};
    return {std::move(chosen), name, ""};
}

std::vector<card_entry> capture_cards() {
    return {{"demo", "the Kestrel demo network (capture card)"},
            {"demo?dvb-t", "the Kestrel demo terrestrial network (capture card)"},
            {"demo?dvb-c", "the Kestrel demo cable network (capture card)"}};
}

}  // namespace kestrel::startup
