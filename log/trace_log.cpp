#include "log/trace_log.h"

#include <unistd.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "log/bounded_line.h"

namespace kestrel {

namespace {

void write_to_standard_error(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
}

// TMP, then TEMP, then TMPDIR, then /tmp.
std::string temporary_directory() {
    for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        if (value && value[0]) return value;
    }
    return "/tmp";
}

std::string with_separator(std::string directory) {
    if (directory.empty() || directory.back() != '/') directory += '/';
    return directory;
}

// "05-Dec-26-14-46-49.log" for the local time of `now`.
std::string time_file_name(wall_time now) {
    const std::tm t = local_calendar(now.seconds);
    char name[64];
    std::snprintf(name, sizeof name, "%02d-%s-%02d-%02d-%02d-%02d.log", t.tm_mday,
                  month_abbreviation(t.tm_mon), t.tm_year % 100, t.tm_hour, t.tm_min, t.tm_sec);
    return name;
}

}  // namespace

trace_log::trace_log() : clock_(system_wall_time), debugger_(write_to_standard_error) {}

trace_log::~trace_log() {
    close();
}

std::string trace_log::build_path(const char* name, std::uint32_t open_mode, wall_time now) const {
    // The temporary directory wins over a given directory, which wins over a full path;
    // with both directory flags the time-named file goes to the temporary directory.
    if (open_mode & in_temp_dir) {
        const std::string directory = with_separator(temporary_directory());
        return directory + (open_mode & time_named_in_dir ? time_file_name(now) : std::string(name));
    }
    if (open_mode & time_named_in_dir) return with_separator(name) + time_file_name(now);
    return name;
}

int32_t trace_log::open(const char* name, std::uint32_t open_mode, std::uint32_t line_format,
                        int32_t max_level) {
    std::lock_guard guard(lock_);
    if (is_open_) return 4;
    open_mode_ = open_mode;
    line_format_ = line_format;
    max_level_ = max_level;
    line_count_ = 0;
    if (open_mode == 0) return 6;
    to_file_ = (open_mode & (full_path | in_temp_dir | time_named_in_dir)) != 0;
    opened_at_ = clock_();
    if (!to_file_) {
        if (!(open_mode & to_debugger)) return 5;
        is_open_ = true;
        return 0;
    }
    const std::string path = build_path(name ? name : "", open_mode, opened_at_);
    if (!file_.open(path, !(open_mode & append))) return 1;
    path_ = path;
    was_empty_ = file_.is_empty();
    is_open_ = true;
    return 0;
}

int32_t trace_log::set_level(int32_t level) {
    max_level_ = level;
    return 0;
}

bool trace_log::accepts(int32_t level) const {
    const int32_t max_level = max_level_;
    return is_open_ && max_level >= 0 && level <= max_level;
}

int32_t trace_log::write(const char* text, int32_t level) {
    if (!accepts(level)) return 0;
    std::lock_guard guard(lock_);
    if (accepts(level)) write_line(text ? text : "", level);  // closed meanwhile?
    return 0;
}

int32_t trace_log::log(int32_t level, const char* format, ...) {
    if (!accepts(level)) return 0;
    bounded_line<buffer_size> message("");
    va_list args;
    va_start(args, format);
    message.vappend(format, args);
    va_end(args);
    return write(message.finish().data(), level);
}

void trace_log::write_line(const char* text, int32_t level) {
    ++line_count_;
    const wall_time now = clock_();
    bounded_line<buffer_size> line("\n");
    if (line_format_ & line_number) line.append("%4ld - ", static_cast<long>(line_count_));
    if (line_format_ & wall_clock_time) {
        const std::tm t = local_calendar(now.seconds);
        line.append("%s %02d %02d:%02d:%02d.%3hu - ", month_abbreviation(t.tm_mon), t.tm_mday, t.tm_hour,
                    t.tm_min, t.tm_sec, now.milliseconds);
    }
    if (line_format_ & seconds_since_open) {
        const double elapsed = std::difftime(now.seconds, opened_at_.seconds) +
                               (now.milliseconds - opened_at_.milliseconds) * 0.001;
        line.append("(%.3lf) - ", elapsed);
    }
    if (line_format_ & level_number) line.append("<%ld> - ", static_cast<long>(level));
    if (line_format_ & indent_by_level) {
        const auto limit = static_cast<std::int64_t>(buffer_size);
        const auto width = std::clamp(std::int64_t{level} * 3, -limit, limit);
        line.append("%*s", static_cast<int>(width), " ");
    }
    line.append("%s", text);
    const std::string_view whole = line.finish();
    if (to_file_) file_.write(whole);
    if (open_mode_ & to_debugger) debugger_(whole);
}

int32_t trace_log::close() {
    std::lock_guard guard(lock_);
    if (!is_open_) return 2;
    is_open_ = false;
    // Debugger output alone: nothing to close, but the log stops and may be opened again.
    if (!to_file_) return 2;
    file_.close();
    if (was_empty_ && line_count_ == 0 && (open_mode_ & delete_if_unused)) ::unlink(path_.c_str());
    return 0;
}

void trace_log::set_clock(wall_clock clock) {
    std::lock_guard guard(lock_);
    clock_ = std::move(clock);
}

void trace_log::set_debugger_output(debugger_output output) {
    std::lock_guard guard(lock_);
    debugger_ = std::move(output);
}

trace_log& global_trace() {
    static trace_log instance;
    return instance;
}

}  // namespace kestrel
