#include "log/log_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace kestrel {

std::string executable_path() {
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

namespace {

std::string state_directory() {
    const char* state = std::getenv("XDG_STATE_HOME");
    std::filesystem::path base;
    if (state && state[0] == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !home[0]) return {};
        base = std::filesystem::path(home) / ".local" / "state";
    }
    const auto directory = base / "kestrel";
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return error ? std::string() : directory.string();
}

// The folder's path with symbolic links, "." and ".." resolved and no trailing slash.
std::filesystem::path real_folder(const std::filesystem::path& folder, std::error_code& error) {
    std::filesystem::path real = std::filesystem::weakly_canonical(folder, error);
    return real.has_filename() ? real : real.parent_path();
}

bool same_folder(const std::filesystem::path& a, const std::filesystem::path& b) {
    std::error_code error_a, error_b;
    const auto real_a = real_folder(a, error_a);
    const auto real_b = real_folder(b, error_b);
    return !error_a && !error_b && real_a == real_b;
}

}  // namespace

std::string build_output_directory() {
    return KESTREL_BUILD_OUTPUT_DIR;
}

std::string log_directory(std::string_view executable, std::string_view build_output) {
    const auto slash = executable.rfind('/');
    if (slash == std::string_view::npos || build_output.empty()) return state_directory();
    std::string directory(executable.substr(0, slash == 0 ? 1 : slash));
    if (same_folder(directory, build_output)) return directory;
    return state_directory();
}

std::string trace_file_name(std::string_view executable_file_name) {
    std::string name(executable_file_name);
    if (name.size() > 4 && name[name.size() - 4] == '.') return name.replace(name.size() - 3, 3, "txt");
    return name + ".txt";
}

}  // namespace kestrel
