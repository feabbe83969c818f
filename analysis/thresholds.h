#pragma once

#include <cstdint>

#include "settings/settings_store.h"

namespace kestrel::analysis {

// The limits of the measurements, with the defaults DVB measurement practice uses.
struct thresholds {
    std::uint32_t pcr_interval_ms = 40;   // 2.3a; MPEG itself allows 100
    std::uint32_t pid_timeout_ms = 5000;  // 1.6, for video and audio PIDs
    std::uint32_t bin_interval_ms = 1000;
    std::uint32_t kept_errors = 1000;  // error events kept per indicator; counts stay complete
};

// The thresholds stored in the group "analysis"; a missing or non-positive value reads as
// its default.
thresholds read_thresholds(settings_store& store);

}  // namespace kestrel::analysis
