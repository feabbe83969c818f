#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace kestrel::startup {

// The folders that hold the files the program reads at run time (registries, satellite
// list, demo network), in the order they are searched: the executable's own folder (a
// build or a portable copy), then the installed data folder <prefix>/share/kestrel for an
// executable in <prefix>/bin. None when the executable's path is unknown.
std::vector<std::filesystem::path> data_directories(const std::filesystem::path& executable);

// The user's own folder for files they edit without root: $XDG_CONFIG_HOME/kestrel (default
// ~/.config/kestrel); empty when neither variable names one.
std::filesystem::path user_config_directory();

// Where the satellite list is looked for: the executable's own folder, then the user's
// folder, then the installed data folder, so that a user's list wins over the installed one.
std::vector<std::filesystem::path> satellite_list_directories(const std::filesystem::path& executable);

// The first of `directories` that holds `relative`, or an empty path when none does.
std::filesystem::path find_data_file(const std::vector<std::filesystem::path>& directories,
                                     const std::filesystem::path& relative);

}  // namespace kestrel::startup
