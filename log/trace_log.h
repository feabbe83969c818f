#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "log/log_file.h"
#include "log/wall_clock.h"

namespace kestrel {

// The developer trace: numbered, time-stamped lines with a verbosity level, written to a
// file and/or the debugger output (standard error here). A line is written only when its
// level is at or below the maximum level. Every call may come from any thread: one lock
// covers formatting and writing, so lines never interleave, and a dropped line costs only
// the level test.
class trace_log {
  public:
    // open_mode flags
    static constexpr std::uint32_t full_path = 0x01;
    static constexpr std::uint32_t in_temp_dir = 0x02;
    static constexpr std::uint32_t time_named_in_dir = 0x04;
    static constexpr std::uint32_t delete_if_unused = 0x08;
    static constexpr std::uint32_t append = 0x10;
    static constexpr std::uint32_t to_debugger = 0x40;
    // line_format flags, in the order the prefixes appear
    static constexpr std::uint32_t line_number = 0x08;
    static constexpr std::uint32_t wall_clock_time = 0x01;
    static constexpr std::uint32_t seconds_since_open = 0x02;
    static constexpr std::uint32_t level_number = 0x04;
    static constexpr std::uint32_t indent_by_level = 0x100;
    // Lines and messages longer than this are cut.
    static constexpr std::size_t buffer_size = 1024;

    using debugger_output = std::function<void(std::string_view line)>;

    trace_log();
    ~trace_log();
    trace_log(const trace_log&) = delete;
    trace_log& operator=(const trace_log&) = delete;

    // 0 opened; 1 the file could not be opened; 4 already open; 5 neither file nor
    // debugger selected; 6 open_mode is 0.
    int32_t open(const char* name, std::uint32_t open_mode, std::uint32_t line_format, int32_t max_level);
    int32_t set_level(int32_t level);
    // Always 0.
    int32_t write(const char* text, int32_t level);
    int32_t log(int32_t level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // 0 closed; 2 no file was open.
    int32_t close();

    // Tests fix the time of every line and catch what goes to the debugger output.
    void set_clock(wall_clock clock);
    void set_debugger_output(debugger_output output);

  private:
    bool accepts(int32_t level) const;
    void write_line(const char* text, int32_t level);
    std::string build_path(const char* name, std::uint32_t open_mode, wall_time now) const;

    std::mutex lock_;
    log_file file_;
    std::uint32_t line_format_ = 0;
    std::atomic<int32_t> max_level_{0};
    std::atomic<bool> is_open_{false};
    std::uint32_t open_mode_ = 0;
    int32_t line_count_ = 0;
    wall_time opened_at_;
    std::string path_;
    bool was_empty_ = false;
    bool to_file_ = false;
    wall_clock clock_;
    debugger_output debugger_;
};

// The program's one trace log.
trace_log& global_trace();

}  // namespace kestrel
