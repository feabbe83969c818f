#include "app/command_line.h"

#include <string_view>

namespace kestrel::app {

const char* const usage_text =
    "kestrel: explore DVB signalling in a window\n\n"
    "usage: kestrel [options] [FILE]\n\n"
    "The desktop program: tunes the card, shows the scanned PSI/SI tables as a tree.\n"
    "FILE, a transport stream capture (.ts, .m2ts, .trp) or a capture manifest, is opened\n"
    "in place of the card and scanned at once, as File > Open capture... does.\n\n"
    "options:\n"
    "  --card SPEC      the card to use: linux:N, capture:FILE.ts, capture:MANIFEST or demo\n"
    "                   (default: the setting General/card, else the first DVB adapter,\n"
    "                   else the demo network)\n"
    "  --settings FILE  keep the settings in the INI file FILE, not the user's store\n"
    "  --version        print the version and build number\n"
    "  --help           print this text\n\n"
    "exit status:\n"
    "  0                the program ended normally\n"
    "  1                the settings could not be saved at the end\n"
    "  2                bad arguments\n\n";

command_line parse_command_line(int argc, char* const* argv) {
    command_line parsed;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string* value = nullptr;
        std::string_view name = arg;
        if (arg == "--help" || arg == "-h") {
            parsed.help = true;
            continue;
        }
        if (arg == "--version") {
            parsed.version = true;
            continue;
        }
        if (!arg.starts_with('-') || arg.size() == 1) {
            if (!parsed.capture.empty()) {
                parsed.error = "kestrel: one FILE only, '" + std::string(arg) + "' is a second (try --help)";
                return parsed;
            }
            parsed.capture = arg;
            continue;
        }
        const auto equals = arg.find('=');
        if (equals != std::string_view::npos) name = arg.substr(0, equals);
        if (name == "--card") value = &parsed.card;
        if (name == "--settings") value = &parsed.settings_file;
        if (value == nullptr) {
            parsed.error = "kestrel: unknown option '" + std::string(arg) + "' (try --help)";
            return parsed;
        }
        if (equals != std::string_view::npos) {
            *value = std::string(arg.substr(equals + 1));
        } else if (i + 1 < argc) {
            *value = argv[++i];
        } else {
            parsed.error = "kestrel: " + std::string(name) + " needs a value (try --help)";
            return parsed;
        }
        if (value->empty()) {
            parsed.error = "kestrel: " + std::string(name) + " needs a value (try --help)";
            return parsed;
        }
    }
    return parsed;
}

}  // namespace kestrel::app
