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

// The first of `directories` that holds `relative`, or an empty path when none does.
std::filesystem::path find_data_file(const std::vector<std::filesystem::path>& directories,
                                     const std::filesystem::path& relative);

}  // namespace kestrel::startup
