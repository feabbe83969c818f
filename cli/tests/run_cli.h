#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace kestrel::cli::testing {

struct run_result {
    int status = -1;
    std::string output;  // standard output, and standard error unless redirected
};

// Runs the real kestrel-cli with `arguments` (shell words) and collects what it printed.
inline run_result run_cli(const std::string& arguments, bool with_errors = true) {
    run_result result;
    const std::string command =
        std::string(KESTREL_CLI) + " " + arguments + (with_errors ? " 2>&1" : " 2>/dev/null");
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
        result.output += buffer;
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace kestrel::cli::testing
