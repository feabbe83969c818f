// Writes a program's manual page from its own --help texts, so the page cannot drift from
// the program: kestrel-manpage [--commands] [--see-also PAGE]... PROGRAM DATE SOURCE OUTPUT
// runs PROGRAM --help (and, with --commands, PROGRAM COMMAND --help for every command its
// "commands:" section lists) and writes the page to OUTPUT, only when everything ran.

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "tools/manpage/help_text.h"
#include "tools/manpage/roff_page.h"

namespace {

using namespace kestrel::manpage;

// The standard output of `program` run with `args`; throws unless it exits with 0.
std::string output_of(const std::string& program, const std::vector<std::string>& args) {
    int pipe_ends[2];
    if (::pipe(pipe_ends) != 0) throw std::runtime_error("pipe failed");
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        ::dup2(pipe_ends[1], STDOUT_FILENO);
        ::close(pipe_ends[0]);
        ::close(pipe_ends[1]);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipe_ends[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0) text.append(buffer, static_cast<std::size_t>(n));
        if (n < 0 && errno != EINTR) break;
    }
    ::close(pipe_ends[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    std::string call = program;
    for (const std::string& a : args)
        call += " " + a;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("'" + call + "' failed");
    if (text.empty()) throw std::runtime_error("'" + call + "' printed nothing");
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    bool with_commands = false;
    page_header header;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--commands")
            with_commands = true;
        else if (arg == "--see-also" && i + 1 < argc)
            header.see_also.push_back(argv[++i]);
        else
            positional.push_back(arg);
    }
    if (positional.size() != 4) {
        std::fprintf(stderr,
                     "usage: kestrel-manpage [--commands] [--see-also PAGE]... PROGRAM DATE SOURCE OUTPUT\n");
        return 2;
    }
    const std::string& program = positional[0];
    header.name = std::filesystem::path(program).filename().string();
    header.date = positional[1];
    header.source = positional[2];
    try {
        const help_text overview = read_help(output_of(program, {"--help"}));
        if (overview.program != header.name)
            throw std::runtime_error(program + " --help does not begin with '" + header.name + ": summary'");
        std::vector<command_help> commands;
        if (const help_section* listed = with_commands ? find_section(overview, "commands") : nullptr)
            for (const help_part& part : listed->parts)
                for (const help_item& item : part.items)
                    commands.push_back({item.term, read_help(output_of(program, {item.term, "--help"}))});
        const std::string page = manual_page(header, overview, commands);
        const std::string partial = positional[3] + ".part";
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out << page;
            if (!out.flush()) throw std::runtime_error("cannot write " + partial);
        }
        std::filesystem::rename(partial, positional[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kestrel-manpage: %s\n", e.what());
        return 1;
    }
    return 0;
}
