#include <array>

#include "cli/analyse_command.h"
#include "cli/capture_sections.h"
#include "cli/card_commands.h"
#include "cli/command.h"
#include "cli/dump_sections.h"
#include "cli/epg_command.h"
#include "cli/scan_command.h"

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
                "'error: <reason> at byte N' when the section does not decode (N counted from\n"
                "the table_id byte), or 'unsupported table_id 0xNN'. A truncated last section\n"
                "prints 'error: truncated section'. Texts are printed as UTF-8; those without a\n"
                "character table selector are read in the table the file's EIT and SDT texts\n"
                "suggest (ISO/IEC 6937 unless they read as ISO 8859), or in --charset NAME\n"
                "when given before the command. Exits 1 when FILE cannot be read.\n",
                run_dump_sections},
        command{"sections", "list the distinct sections of a transport stream capture",
                "usage: kestrel-cli sections FILE.ts [--pid PID ...] [--all-pids] [--all]\n\n"
                "Reads the capture FILE.ts in one pass (188-, 192- or 204-byte packets) and\n"
                "assembles the sections of PIDs 0x00-0x1f and of the PMT PIDs its PATs name.\n"
                "Each distinct section is printed once, in order of first appearance, as\n"
                "'== PID 0xPPPP table_id 0xNN, M bytes, seen K times' followed by the table's\n"
                "fields, 'error: <reason> at byte N' or 'unsupported table_id 0xNN'. Sections\n"
                "are distinct by PID and their bytes (for intact long-form sections that is by\n"
                "table_id, table_id_extension, section_number, version and CRC). A section\n"
                "that fails its CRC check is never counted with an intact one: its header ends\n"
                "in ', CRC failed', and a warning counts such occurrences. Texts are printed\n"
                "as UTF-8, as dump-sections prints them.\n\n"
                "  --pid PID ...  read only these PIDs (decimal or 0x hex; repeatable)\n"
                "  --all-pids     read every PID\n"
                "  --all          print every occurrence, not only the first\n\n"
                "A truncated last packet is ignored with a warning. Exits 1 when FILE cannot\n"
                "be read or holds no transport stream.\n",
                run_sections},
        command{"analyse", "measure a capture's health: TR 101 290 indicators, per-PID bit rates",
                analyse_usage, run_analyse},
        command{"cards", "list the cards --card can name", cards_usage, run_cards},
        command{"tune", "tune a card and show lock, level and quality", tune_usage, run_tune, true},
        command{"scan", "read the PSI/SI tables of a transport stream, a network or the satellites",
                scan_usage, run_scan, true},
        command{"record", "record PIDs of the tuned card to files", record_usage, run_record, true},
        command{"epg", "collect the programme guide and list it, as JSON or as XMLTV", epg_usage, run_epg,
                true},
    };
    return all;
}

}  // namespace kestrel::cli
