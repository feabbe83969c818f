#include "startup/data_directory.h"

#include <cstdlib>

namespace kestrel::startup {

std::vector<std::filesystem::path> data_directories(const std::filesystem::path& executable) {
    if (!executable.has_parent_path()) return {};
    const std::filesystem::path folder = executable.parent_path();
    return {folder, folder.parent_path() / "share" / "kestrel"};
}

std::filesystem::path user_config_directory() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::filesystem::path(config) / "kestrel";
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) return {};
    return std::filesystem::path(home) / ".config" / "kestrel";
}

std::vector<std::filesystem::path> satellite_list_directories(const std::filesystem::path& executable) {
    std::vector<std::filesystem::path> folders = data_directories(executable);
    const std::filesystem::path user = user_config_directory();
    if (!user.empty()) folders.insert(folders.empty() ? folders.end() : folders.begin() + 1, user);
    return folders;
}

std::filesystem::path find_data_file(const std::vector<std::filesystem::path>& directories,
                                     const std::filesystem::path& relative) {
    for (const std::filesystem::path& directory : directories) {
        std::error_code ignored;
        const std::filesystem::path candidate = directory / relative;
        if (std::filesystem::is_regular_file(candidate, ignored)) return candidate;
    }
    return {};
}

}  // namespace kestrel::startup
