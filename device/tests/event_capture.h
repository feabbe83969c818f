#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::testing {

// Reads back what the device wrote to the CSV event log since the capture was made. The
// log is started once per test program, in a temporary folder, with the level column.
class event_capture {
  public:
    struct event {
        int level;
        std::string text;
    };

    event_capture();
    std::vector<event> events() const;
    // True when an event with exactly this text (and this level, when given) was written.
    bool has(std::string_view text, int level = 0) const;
    // The texts in order, for failure messages.
    std::string all() const;

  private:
    std::uintmax_t start_;
};

}  // namespace kestrel::testing
