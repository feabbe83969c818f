#include "cli/program_settings.h"

#include <cstdio>
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

startup::session open_session(const std::string& card) {
    return startup::session(program_settings(), {card, program_trace_level()});
}

void keep_session(startup::session& session, std::string_view command) {
    if (!session.keep())
        std::fprintf(stderr, "kestrel-cli %.*s: warning: the tuning was not kept: %s\n",
                     static_cast<int>(command.size()), command.data(), session.settings().status().c_str());
}

}  // namespace kestrel::cli
