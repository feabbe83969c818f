#include "startup/logs.h"

#include "log/event_log.h"
#include "log/log_location.h"
#include "log/trace_log.h"

namespace kestrel::startup {

namespace {

// Append to an existing file with locking, header and every column; levels 1 to 4.
constexpr std::uint32_t event_flags = 509;
constexpr int32_t event_max_level = 4;
// Full path, debugger output, truncated at every start; line number, time, elapsed, level.
constexpr std::uint32_t trace_open_mode = trace_log::full_path | trace_log::to_debugger;
constexpr std::uint32_t trace_line_format = trace_log::line_number | trace_log::wall_clock_time |
                                            trace_log::seconds_since_open | trace_log::level_number;

}  // namespace

std::string trace_file_path(std::string_view executable) {
    const auto slash = executable.rfind('/');
    if (executable.empty() || slash == std::string_view::npos) return "kestrel.txt";
    const std::string directory = log_directory(executable);
    if (directory.empty()) return "kestrel.txt";
    const char* separator = directory.back() == '/' ? "" : "/";
    return directory + separator + trace_file_name(executable.substr(slash + 1));
}

void open_logs(int32_t trace_level) {
    event_log_start(event_flags, event_max_level, "kestrel1.txt");
    trace_log& trace = global_trace();
    trace.open(trace_file_path(executable_path()).c_str(), trace_open_mode, trace_line_format, 0);
    trace.set_level(trace_level);
}

}  // namespace kestrel::startup
