#include "device/tests/event_capture.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "log/event_log.h"

namespace kestrel::testing {

namespace {

// The log's folder, removed when the test program ends.
struct log_folder {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("kestrel-device-" + std::to_string(getpid()));
    ~log_folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::filesystem::path& log_file() {
    static const log_folder folder_holder;
    static const std::filesystem::path file = [] {
        const auto& folder = folder_holder.path;
        std::filesystem::create_directories(folder);
        event_log_start_in(folder.c_str(), event_recreate | event_log_level, 4, "events.txt");
        return folder / "events.txt";
    }();
    return file;
}

std::uintmax_t size_now() {
    std::error_code ignored;
    const auto size = std::filesystem::file_size(log_file(), ignored);
    return ignored ? 0 : size;
}

}  // namespace

event_capture::event_capture() : start_(size_now()) {}

std::vector<event_capture::event> event_capture::events() const {
    std::ifstream in(log_file(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(start_));
    std::vector<event> found;
    std::string line;
    // date,time,milliseconds,level,"text"\r
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto quote = line.find('"');
        if (quote == std::string::npos || quote < 2 || line.back() != '"') continue;
        const auto level_start = line.rfind(',', quote - 2) + 1;
        found.push_back({std::stoi(line.substr(level_start, quote - 1 - level_start)),
                         line.substr(quote + 1, line.size() - quote - 2)});
    }
    return found;
}

bool event_capture::has(std::string_view text, int level) const {
    for (const auto& e : events())
        if (e.text == text && (level == 0 || e.level == level)) return true;
    return false;
}

std::string event_capture::all() const {
    std::ostringstream out;
    for (const auto& e : events())
        out << e.level << " " << e.text << "\n";
    return out.str();
}

}  // namespace kestrel::testing
