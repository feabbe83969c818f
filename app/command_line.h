#pragma once

#include <string>

namespace kestrel::app {

// What the desktop program was asked for on its command line. Parsed before any window
// system is touched, so that --help and --version work without a display.
struct command_line {
    std::string card;           // --card SPEC; "" = "General"/"card", else the default
    std::string settings_file;  // --settings FILE: an INI file instead of the user's store
    std::string capture;        // FILE: a capture or manifest opened and scanned at start
    bool help = false;
    bool version = false;
    std::string error;  // a one-line message when the arguments are wrong
};

command_line parse_command_line(int argc, char* const* argv);

extern const char* const usage_text;

}  // namespace kestrel::app
