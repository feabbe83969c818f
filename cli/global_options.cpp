#include "cli/global_options.h"

#include <charconv>
#include <optional>
#include <string_view>

namespace kestrel::cli {

namespace {

constexpr std::string_view trace_level_option = "--trace-level";
constexpr std::string_view charset_option = "--charset";

bool parse_level(std::string_view text, int32_t& level) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), level);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// The value of `option` when argv[i] is it ("--option V" or "--option=V"), moving i past
// it; nullopt when argv[i] is not this option. A missing value is the empty value.
std::optional<std::string_view> option_value(std::string_view option, int argc, char* const* argv, int& i) {
    const std::string_view arg = argv[i];
    if (arg == option) {
        i += 1;
        return i < argc ? std::string_view(argv[i++]) : std::string_view();
    }
    if (arg.starts_with(option) && arg.size() > option.size() && arg[option.size()] == '=') {
        i += 1;
        return arg.substr(option.size() + 1);
    }
    return std::nullopt;
}

}  // namespace

global_options parse_global_options(int argc, char* const* argv) {
    global_options options;
    int& i = options.command_index;
    while (i < argc) {
        const std::string_view arg = argv[i];
        if (const auto name = option_value(charset_option, argc, argv, i)) {
            if (name->empty()) {
                options.error = "kestrel-cli: --charset needs a character set name (e.g. ISO-8859-15)";
                return options;
            }
            options.charset = *name;
            continue;
        }
        if (arg == trace_level_option && i + 1 >= argc) {
            options.error = "kestrel-cli: --trace-level needs a level (a whole number)";
            return options;
        }
        const auto value = option_value(trace_level_option, argc, argv, i);
        if (!value) break;
        if (!parse_level(*value, options.trace_level)) {
            options.error =
                "kestrel-cli: --trace-level needs a whole number, not '" + std::string(*value) + "'";
            return options;
        }
    }
    return options;
}

}  // namespace kestrel::cli
