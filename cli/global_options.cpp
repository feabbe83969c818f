#include "cli/global_options.h"

#include <charconv>
#include <string_view>

namespace kestrel::cli {

namespace {

constexpr std::string_view trace_level_option = "--trace-level";

bool parse_level(std::string_view text, int32_t& level) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

}  // namespace

global_options parse_global_options(int argc, char* const* argv) {
    global_options options;
    int& i = options.command_index;
    while (i < argc) {
        const std::string_view arg = argv[i];
        std::string_view value;
        if (arg == trace_level_option) {
            if (i + 1 >= argc) {
                options.error = "kestrel-cli: --trace-level needs a level (a whole number)";
                return options;
            }
            value = argv[i + 1];
            i += 2;
        } else if (arg.starts_with(trace_level_option) && arg[trace_level_option.size()] == '=') {
            value = arg.substr(trace_level_option.size() + 1);
            i += 1;
        } else {
            break;
        }
        int32_t level = 0;
        if (!parse_level(value, level)) {
            options.error =
                "kestrel-cli: --trace-level needs a whole number, not '" + std::string(value) + "'";
            return options;
        }
        options.trace_level = level;
    }
    return options;
}

}  // namespace kestrel::cli
