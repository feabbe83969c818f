#pragma once

#include <cstdint>

#include "log/wall_clock.h"

namespace kestrel {

// The CSV event log of the device layer: one comma-separated line per event, appended to
// a file that stays open until the process ends.

// event_log_start flags
constexpr std::uint32_t event_recreate = 0x02;
constexpr std::uint32_t event_locking_and_thread_id = 0x04;
constexpr std::uint32_t event_process_id = 0x08;
constexpr std::uint32_t event_header = 0x40;
constexpr std::uint32_t event_log_type = 0x80;
constexpr std::uint32_t event_log_level = 0x100;

// Opens `file_name` in the log folder (beside the executable, or the state folder when
// that is not writable). Always 0; when the file cannot be opened every event is dropped.
int32_t event_log_start(std::uint32_t flags, int32_t max_level, const char* file_name);
// The same in a given folder (tests).
int32_t event_log_start_in(const char* directory, std::uint32_t flags, int32_t max_level,
                           const char* file_name);
// Writes one line when 1 <= level <= the maximum level. Always 0.
int32_t event_log(int32_t level, const char* format, ...) __attribute__((format(printf, 2, 3)));

// Tests fix the time of every event.
void event_log_set_clock(wall_clock clock);

}  // namespace kestrel
