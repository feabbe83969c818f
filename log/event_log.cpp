#include "log/event_log.h"

#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <mutex>
#include <string>

#include "log/bounded_line.h"
#include "log/log_file.h"
#include "log/log_location.h"

namespace kestrel {

namespace {

// Lines and messages longer than this are cut.
constexpr std::size_t event_buffer_size = 4096;

struct event_state {
    std::mutex lock;
    std::atomic<std::uint32_t> flags{0};
    std::atomic<int32_t> max_level{0};
    std::atomic<bool> locking{false};
    log_file file;
    wall_clock clock = system_wall_time;
};

event_state& state() {
    static event_state instance;
    return instance;
}

const char* type_name(int32_t level) {
    if (level == 1) return "error";
    if (level == 2) return "warning";
    return "info";
}

std::string header_row(std::uint32_t flags) {
    std::string header = "Date,Time,Milliseconds";
    if (flags & event_process_id) header += ",Process ID";
    if (flags & event_locking_and_thread_id) header += ",Thread ID";
    if (flags & event_log_level) header += ",Log level";
    if (flags & event_log_type) header += ",Log type";
    return header + ",Description\r\n\r\n";
}

void write_event(event_state& s, int32_t level, const char* format, va_list args) {
    const std::uint32_t flags = s.flags;
    const wall_time now = s.clock();
    const std::tm t = local_calendar(now.seconds);
    bounded_line<event_buffer_size> line("\"\r\n");
    line.append("%04d.%02d.%02d,%02d:%02d:%02d,%03d,", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour,
                t.tm_min, t.tm_sec, static_cast<int>(now.milliseconds));
    if (flags & event_process_id) line.append("\"0x%08x\",", static_cast<unsigned>(::getpid()));
    if (flags & event_locking_and_thread_id) line.append("\"0x%08x\",", static_cast<unsigned>(::gettid()));
    if (flags & event_log_level) line.append("%d,", static_cast<int>(level));
    if (flags & event_log_type) line.append("\"%-7s\",", type_name(level));
    line.append("\"");
    line.vappend(format, args);
    s.file.write(line.finish());
}

}  // namespace

int32_t event_log_start_in(const char* directory, std::uint32_t flags, int32_t max_level,
                           const char* file_name) {
    event_state& s = state();
    std::lock_guard guard(s.lock);
    s.flags = flags;
    s.max_level = max_level;
    s.locking = false;
    s.file.close();
    if (!directory || !directory[0] || !file_name) return 0;
    std::string path = directory;
    if (path.back() != '/') path += '/';
    if (!s.file.open(path + file_name, (flags & event_recreate) != 0)) return 0;
    s.locking = (flags & event_locking_and_thread_id) != 0;
    if ((flags & event_header) && s.file.is_empty()) s.file.write(header_row(flags));
    return 0;
}

int32_t event_log_start(std::uint32_t flags, int32_t max_level, const char* file_name) {
    const std::string executable = executable_path();
    const std::string directory = executable.empty() ? std::string() : log_directory(executable);
    return event_log_start_in(directory.c_str(), flags, max_level, file_name);
}

int32_t event_log(int32_t level, const char* format, ...) {
    event_state& s = state();
    std::unique_lock guard(s.lock, std::defer_lock);
    if (s.locking) guard.lock();
    if (s.file.is_open() && level >= 1 && level <= s.max_level) {
        va_list args;
        va_start(args, format);
        write_event(s, level, format, args);
        va_end(args);
    }
    return 0;
}

void event_log_set_clock(wall_clock clock) {
    event_state& s = state();
    std::lock_guard guard(s.lock);
    s.clock = std::move(clock);
}

}  // namespace kestrel
