#include "log/log_location.h"

#include <unistd.h>

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

}  // namespace

std::string log_directory(std::string_view executable) {
    const auto slash = executable.rfind('/');
    if (slash == std::string_view::npos) return state_directory();
    std::string directory(executable.substr(0, slash == 0 ? 1 : slash));
    if (::access(directory.c_str(), W_OK) == 0) return directory;
    return state_directory();
}

std::string trace_file_name(std::string_view executable_file_name) {
    std::string name(executable_file_name);
    if (name.size() > 4 && name[name.size() - 4] == '.') return name.replace(name.size() - 3, 3, "txt");
    return name + ".txt";
}

}  // namespace kestrel
