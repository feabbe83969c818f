#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "settings/settings_store.h"
#include "startup/session.h"

namespace kestrel::cli {

// Main's choice for this run, made once before the command runs: the INI file of
// --settings FILE, or the user's store when `settings_file` is "".
void choose_program_settings(const std::string& settings_file, std::optional<std::int32_t> trace_level);

// The settings store of this run, valid for the whole run. A command run without main's
// choice (a test) gets a store in memory, never the user's.
settings_store& program_settings();
// The level --trace-level asked for, if any; it overrides the stored "loglevel".
std::optional<std::int32_t> program_trace_level();

// The start-up of a command that opens a card (`card` "" = the stored or default card), with
// the run's store and trace level.
startup::session open_session(const std::string& card);
// The keep at the end of such a command; a store that cannot be written is said on standard
// error as "kestrel-cli COMMAND: warning: the tuning was not kept: REASON".
void keep_session(startup::session& session, std::string_view command);

}  // namespace kestrel::cli
