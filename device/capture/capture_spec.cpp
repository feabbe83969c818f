#include "device/capture/capture_spec.h"

#include <filesystem>

#include "device/capture/capture_card.h"

namespace kestrel {

namespace {
constexpr std::string_view capture_prefix = "capture:";
constexpr std::string_view demo_name = "demo";
}  // namespace

std::unique_ptr<card> open_capture_spec(std::string_view spec, const std::string& demo_manifest,
                                        std::string& error) {
    error.clear();
    std::string text;
    if (spec.starts_with(capture_prefix)) {
        text = spec.substr(capture_prefix.size());
    } else if (spec == demo_name || spec.starts_with(std::string(demo_name) + "?")) {
        text = demo_manifest + std::string(spec.substr(demo_name.size()));
    } else {
        return nullptr;
    }
    capture_options options;
    std::string why = parse_capture_options(text, options);
    // The demo's cable and terrestrial networks are manifests of their own beside its satellites'.
    if (why.empty() && !spec.starts_with(capture_prefix) && options.frontend != 0) {
        const char* manifest =
            options.frontend == frontend_dvb_c ? "demo-dvb-c.manifest" : "demo-dvb-t.manifest";
        options.path = (std::filesystem::path(options.path).parent_path() / manifest).string();
        options.frontend = 0;
    }
    std::unique_ptr<card> made;
    if (why.empty()) made = capture_card::create(options, why);
    if (!made) error = why;
    return made;
}

}  // namespace kestrel
