#include "startup/data_directory.h"

namespace kestrel::startup {

std::vector<std::filesystem::path> data_directories(const std::filesystem::path& executable) {
    if (!executable.has_parent_path()) return {};
    const std::filesystem::path folder = executable.parent_path();
    return {folder, folder.parent_path() / "share" / "kestrel"};
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
