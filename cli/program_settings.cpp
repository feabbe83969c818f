#include "cli/program_settings.h"

#include "settings/memory_store.h"

namespace kestrel::cli {

// Until the QSettings store is wired in, a run keeps its settings in memory only.
settings_store& program_settings() {
    static memory_store store;
    return store;
}

std::optional<std::int32_t>& program_trace_level() {
    static std::optional<std::int32_t> level;
    return level;
}

}  // namespace kestrel::cli
