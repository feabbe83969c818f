#include <array>

#include "cli/command.h"
#include "cli/dump_sections.h"

namespace kestrel::cli {

bool wants_help(std::span<char* const> args) {
    for (const char* a : args) {
        const std::string_view arg = a;
        if (arg == "--help" || arg == "-h") return true;
    }
    return false;
}

std::span<const command> commands() {
    static const std::array all{
        command{"dump-sections", "decode a file of raw PSI/SI sections as text",
                "usage: kestrel-cli dump-sections FILE|-\n\n"
                "Reads FILE (or standard input for -) as concatenated raw MPEG-2 sections, each\n"
                "exactly section_length + 3 bytes, and decodes each by its table_id. Per section\n"
                "it prints '== section N: table_id 0xNN, M bytes' and then the table's fields,\n"
                "'error: <reason> (kind K)' when the section does not decode, or\n"
                "'unsupported table_id 0xNN'. A truncated last section prints\n"
                "'error: truncated section'. Exits 1 when FILE cannot be read.\n",
                run_dump_sections},
    };
    return all;
}

}  // namespace kestrel::cli
