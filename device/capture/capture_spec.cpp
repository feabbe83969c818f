#include "device/capture/capture_spec.h"

#include <filesystem>

#include "device/capture/capture_card.h"
#include "log/log_location.h"

namespace kestrel {

namespace {
constexpr std::string_view capture_prefix = "capture:";
constexpr std::string_view demo_name = "demo";
constexpr const char* demo_manifest = "demo/demo.manifest";
}  // namespace

std::string demo_manifest_path() {
    const std::string exe = executable_path();
    const std::filesystem::path beside =
        (exe.empty() ? std::filesystem::path(".") : std::filesystem::path(exe).parent_path()) / demo_manifest;
    const std::filesystem::path installed = std::filesystem::path(KESTREL_INSTALL_DATADIR) / demo_manifest;
    if (!std::filesystem::exists(beside) && std::filesystem::exists(installed)) return installed.string();
    return beside.string();
}

std::unique_ptr<card> open_capture_spec(std::string_view spec, std::string& error) {
    error.clear();
    std::string text;
    if (spec.starts_with(capture_prefix)) {
        text = spec.substr(capture_prefix.size());
    } else if (spec == demo_name || spec.starts_with(std::string(demo_name) + "?")) {
        text = demo_manifest_path() + std::string(spec.substr(demo_name.size()));
    } else {
        return nullptr;
    }
    capture_options options;
    std::string why = parse_capture_options(text, options);
    std::unique_ptr<card> made;
    if (why.empty()) made = capture_card::create(options, why);
    if (!made) error = std::string(spec) + ": " + why;
    return made;
}

}  // namespace kestrel
