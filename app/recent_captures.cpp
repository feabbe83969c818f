#include "app/recent_captures.h"

#include <algorithm>
#include <filesystem>

#include "settings/keys.h"

namespace kestrel::app {

namespace {

void write_list(settings_store& settings, const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& path : paths)
        text.append(text.empty() ? "" : "\n").append(path);
    settings::write(settings, settings::recent, text);
}

}  // namespace

std::vector<std::string> recent_captures(settings_store& settings) {
    const std::string text = settings::read(settings, settings::recent);
    std::vector<std::string> paths;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        if (end > at && paths.size() < recent_capture_limit) paths.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return paths;
}

void remember_capture(settings_store& settings, const std::string& path) {
    if (path.empty() || path.find('\n') != std::string::npos) return;
    std::vector<std::string> paths = recent_captures(settings);
    std::erase(paths, path);
    paths.insert(paths.begin(), path);
    if (paths.size() > recent_capture_limit) paths.resize(recent_capture_limit);
    write_list(settings, paths);
}

void forget_capture(settings_store& settings, const std::string& path) {
    std::vector<std::string> paths = recent_captures(settings);
    std::erase(paths, path);
    write_list(settings, paths);
}

std::string last_capture_folder(settings_store& settings) {
    const std::vector<std::string> paths = recent_captures(settings);
    return paths.empty() ? std::string() : std::filesystem::path(paths.front()).parent_path().string();
}

}  // namespace kestrel::app
