#pragma once

#include "settings/settings_store.h"

namespace kestrel::cli {

// The settings store of this run, as main chose it (the user's store, or the INI file of
// --settings). Valid for the whole run.
settings_store& program_settings();

}  // namespace kestrel::cli
