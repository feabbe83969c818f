#pragma once

#include <algorithm>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "log/trace_log.h"

namespace kestrel::testing {

// The global trace log's lines up to `level`, caught for a test while this object lives
// (to the debugger output only, line ends cut). Lines may come from any thread.
class trace_lines {
  public:
    explicit trace_lines(std::int32_t level) {
        global_trace().set_debugger_output([this](std::string_view line) {
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.remove_suffix(1);
            std::lock_guard hold(lock_);
            lines_.emplace_back(line);
        });
        global_trace().open(nullptr, trace_log::to_debugger, 0, level);
    }
    ~trace_lines() {
        global_trace().close();
        global_trace().set_debugger_output([](std::string_view) {});
    }
    trace_lines(const trace_lines&) = delete;
    trace_lines& operator=(const trace_lines&) = delete;

    // How many lines are exactly `text`.
    long count(const std::string& text) {
        std::lock_guard hold(lock_);
        return std::count(lines_.begin(), lines_.end(), text);
    }

  private:
    std::mutex lock_;
    std::vector<std::string> lines_;
};

}  // namespace kestrel::testing
