#pragma once

#include <string>
#include <string_view>

namespace kestrel::startup {

// The end of both programs' --help (and so of their manual pages): the files they read and
// write, the environment they heed and what opening DVB devices needs. `program` names the
// trace log ("kestrel-cli" writes kestrel-cli.txt).
std::string shared_help_sections(std::string_view program);

// "kestrel-cli 0.1.0 (build 1)": what --version prints.
std::string version_line(std::string_view program);

}  // namespace kestrel::startup
