#include "cli/capture_sections.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>

#include "cli/pid_argument.h"
#include "cli/section_dump.h"
#include "cli/text_charset.h"
#include "lib13818/core/error.h"
#include "lib13818/tables/pat.h"

namespace kestrel::cli {

namespace {

constexpr std::uint16_t pat_pid = 0x0000;
constexpr std::uint16_t last_signalling_pid = 0x1F;

// Selects the PMT PIDs a PAT names (program 0 names the network PID, not a PMT).
void select_pmt_pids(std::span<const std::uint8_t> section, ts::section_extractor& extractor) {
    lib13818::Pat pat;
    try {
        pat.parse(section.data(), section.size());
    } catch (const lib13818::error&) {
        return;
    }
    for (const auto& program : pat.programs)
        if (program.program_number != 0) extractor.select_pid(static_cast<std::uint16_t>(program.PID));
}

}  // namespace

capture_sections read_capture_sections(const std::string& path, const section_selection& selection) {
    capture_sections result;
    ts::section_extractor extractor;
    const bool follow_pats = !selection.all_pids && selection.pids.empty();
    if (selection.all_pids) extractor.select_all_pids();
    for (std::uint16_t pid : selection.pids)
        extractor.select_pid(pid);
    if (follow_pats)
        for (std::uint16_t pid = 0; pid <= last_signalling_pid; ++pid)
            extractor.select_pid(pid);

    distinct_sections distinct;
    if (selection.every_occurrence) result.occurrences.emplace();
    result.error =
        ts::extract_sections(path, extractor, [&](std::uint16_t pid, std::span<const std::uint8_t> s) {
            const auto [index, added] = distinct.add(pid, s);
            if (added && follow_pats && pid == pat_pid && s[0] == 0x00) select_pmt_pids(s, extractor);
            if (result.occurrences) result.occurrences->push_back(index);
        });
    result.crc_failures = distinct.crc_failures();
    result.distinct = distinct.take();
    result.stats = extractor.stats();
    return result;
}

void print_capture_sections(std::ostream& out, const capture_sections& sections) {
    const auto print = [&](const distinct_section& s) {
        char line[112];
        std::snprintf(line, sizeof line, "== PID 0x%04x table_id 0x%02x, %zu bytes, seen %zu times%s\n",
                      s.pid, s.bytes[0], s.bytes.size(), s.seen, s.crc_failed ? ", CRC failed" : "");
        out << line;
        dump_section(out, s.bytes.data(), s.bytes.size());
    };
    if (sections.occurrences)
        for (std::size_t i : *sections.occurrences)
            print(sections.distinct[i]);
    else
        for (const auto& s : sections.distinct)
            print(s);
}

namespace {

int usage_error(const std::string& message) {
    std::cerr << "kestrel-cli sections: " << message << " (try --help)\n";
    return 2;
}

}  // namespace

int run_sections(std::span<char* const> args) {
    std::optional<std::string> path;
    section_selection selection;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--all-pids") {
            selection.all_pids = true;
        } else if (arg == "--all") {
            selection.every_occurrence = true;
        } else if (arg == "--pid") {
            // One PID or several: every following argument that reads as a PID.
            if (i + 1 == args.size() || !parse_pid(args[i + 1]))
                return usage_error("--pid needs a PID from 0 to 0x1fff");
            while (i + 1 < args.size() && parse_pid(args[i + 1]))
                selection.pids.push_back(*parse_pid(args[++i]));
        } else if (arg.size() > 1 && arg.starts_with("-")) {
            return usage_error("unknown option '" + std::string(arg) + "'");
        } else if (path) {
            return usage_error("more than one FILE");
        } else {
            path = std::string(arg);
        }
    }
    if (!path) return usage_error("expected a capture FILE.ts");

    const capture_sections sections = read_capture_sections(*path, selection);
    if (!sections.error.empty()) {
        std::cerr << "kestrel-cli sections: " << sections.error << '\n';
        return 1;
    }
    std::vector<std::span<const std::uint8_t>> views;
    for (const auto& s : sections.distinct)
        if (!s.crc_failed) views.emplace_back(s.bytes);
    lib13818::dvb_text_decoder decoder = sections_text_decoder(views);
    {
        const lib13818::text_decoder_scope scope(std::cout, decoder);
        print_capture_sections(std::cout, sections);
    }
    std::cout.flush();
    const auto& stats = sections.stats;
    if (stats.skipped_bytes > 0)
        std::cerr << "kestrel-cli sections: warning: " << *path << ": sync lost " << stats.sync_losses
                  << " times, " << stats.skipped_bytes << " bytes skipped\n";
    if (sections.crc_failures > 0)
        std::cerr << "kestrel-cli sections: warning: " << *path << ": " << sections.crc_failures
                  << " sections failed their CRC check\n";
    if (stats.truncated_bytes > 0)
        std::cerr << "kestrel-cli sections: warning: " << *path << ": truncated last packet ignored ("
                  << stats.truncated_bytes << " bytes)\n";
    return 0;
}

}  // namespace kestrel::cli
