#pragma once

// The captures opened lately, as File > "Recent captures" lists them: newest first, at
// most eight, each once, kept in "General"/"recent" one path a line.

#include <cstddef>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace kestrel::app {

inline constexpr std::size_t recent_capture_limit = 8;

std::vector<std::string> recent_captures(settings_store& settings);
// `path` to the front, the oldest beyond the limit dropped. A path holding a line break
// cannot be kept in the list and is left out.
void remember_capture(settings_store& settings, const std::string& path);
void forget_capture(settings_store& settings, const std::string& path);
// The folder of the newest capture, where the file dialog starts; "" without one.
std::string last_capture_folder(settings_store& settings);

}  // namespace kestrel::app
