#pragma once

#include <cstdint>
#include <optional>

#include "settings/settings_store.h"

namespace kestrel::cli {

// The settings store of this run, as main chose it (the user's store, or the INI file of
// --settings). Valid for the whole run.
settings_store& program_settings();

// The --trace-level of this run when it was given, as main read it: the card commands'
// start-up opens the trace log at it rather than at the stored "loglevel".
std::optional<std::int32_t>& program_trace_level();

}  // namespace kestrel::cli
