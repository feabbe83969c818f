#include "cli/global_options.h"

#include <charconv>
#include <string_view>

namespace kestrel::cli {

namespace {

// One global option: what its value must be, whether it may follow the command name, and
// how its value is taken ("" or what is wrong with it).
struct option_spec {
    std::string_view name;
    const char* needs;
    bool after_command;
    std::string (*take)(std::string_view value, global_options& options);
};

std::string take_trace_level(std::string_view value, global_options& options) {
    int32_t level = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), level);
    if (value.empty() || error != std::errc() || end != value.data() + value.size())
        return "--trace-level needs a whole number, not '" + std::string(value) + "'";
    options.trace_level = level;
    return "";
}

std::string take_settings(std::string_view value, global_options& options) {
    if (value.empty()) return "--settings needs a FILE";
    options.settings_file = value;
    return "";
}

std::string take_charset(std::string_view value, global_options& options) {
    if (value.empty()) return "--charset needs a character set name (e.g. ISO-8859-15)";
    options.charset = value;
    return "";
}

constexpr option_spec specs[] = {
    {"--trace-level", "a level (a whole number)", false, take_trace_level},
    {"--settings", "a FILE", true, take_settings},
    {"--charset", "a character set name (e.g. ISO-8859-15)", false, take_charset},
};

// The option `arg` names, alone or as `--option=VALUE`.
const option_spec* find_spec(std::string_view arg) {
    for (const option_spec& spec : specs)
        if (arg.starts_with(spec.name) && (arg.size() == spec.name.size() || arg[spec.name.size()] == '='))
            return &spec;
    return nullptr;
}

}  // namespace

global_options parse_global_options(int argc, char* const* argv) {
    global_options options;
    bool before_command = true;
    options.command_index = argc;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const option_spec* spec = find_spec(arg);
        if (spec == nullptr || !(before_command || spec->after_command)) {
            if (before_command)
                options.command_index = i;
            else
                options.command_args.push_back(argv[i]);
            before_command = false;
            continue;
        }
        std::string_view value;
        if (arg.size() > spec->name.size()) {
            value = arg.substr(spec->name.size() + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            options.error = "kestrel-cli: " + std::string(spec->name) + " needs " + spec->needs;
            return options;
        }
        if (const std::string error = spec->take(value, options); !error.empty()) {
            options.error = "kestrel-cli: " + error;
            return options;
        }
    }
    return options;
}

}  // namespace kestrel::cli
