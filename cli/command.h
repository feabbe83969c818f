#pragma once

#include <span>
#include <string_view>

namespace kestrel::cli {

// One subcommand of kestrel-cli. `run` gets the arguments after the command's name and
// returns the exit status; `--help` among them prints `usage` and exits 0. A command that
// opens a card starts through startup::session itself (with program_settings()); for the
// others main builds the name tables and opens the logs before `run`.
struct command {
    std::string_view name;
    std::string_view summary;
    std::string_view usage;
    int (*run)(std::span<char* const> args);
    bool opens_card = false;
};

// Every subcommand, in the order `kestrel-cli --help` lists them.
std::span<const command> commands();

// True when args ask for help; the command then prints its usage.
bool wants_help(std::span<char* const> args);

}  // namespace kestrel::cli
