#include "cli/program_settings.h"

#include <memory>

#include "settings/memory_store.h"
#include "settings/qsettings_store.h"

namespace kestrel::cli {

namespace {

struct program_choice {
    std::unique_ptr<settings_store> store = std::make_unique<memory_store>();
    std::optional<std::int32_t> trace_level;
};

program_choice& choice() {
    static program_choice chosen;
    return chosen;
}

}  // namespace

void choose_program_settings(const std::string& settings_file, std::optional<std::int32_t> trace_level) {
    program_choice& c = choice();
    c.store = settings_file.empty() ? std::make_unique<qsettings_store>()
                                    : std::make_unique<qsettings_store>(settings_file);
    c.trace_level = trace_level;
}

settings_store& program_settings() {
    return *choice().store;
}

std::optional<std::int32_t> program_trace_level() {
    return choice().trace_level;
}

}  // namespace kestrel::cli
