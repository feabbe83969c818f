#include "cli/capture_sections.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "cli/pid_argument.h"
#include "cli/section_dump.h"
#include "lib13818/core/error.h"
#include "lib13818/tables/pat.h"

namespace kestrel::cli {

namespace {

constexpr std::uint16_t pat_pid = 0x0000;
constexpr std::uint16_t last_signalling_pid = 0x1F;
// table_id .. last_section_number and CRC_32: the least a long-form section holds.
constexpr std::size_t long_form_minimum = 12;

// The bytes that tell sections apart: the header fields and CRC_32 of a long-form section,
// the whole section of a short-form one.
std::string distinct_key(std::uint16_t pid, std::span<const std::uint8_t> s) {
    std::string key{static_cast<char>(pid >> 8), static_cast<char>(pid)};
    // The assembler delivers three bytes at least: table_id and section_length.
    const bool long_form = (s[1] & 0x80) && s.size() >= long_form_minimum;
    if (!long_form) {
        key.push_back('S');
        key.append(s.begin(), s.end());
        return key;
    }
    key.push_back('L');
    key.push_back(static_cast<char>(s[0]));    // table_id
    key.append(s.begin() + 3, s.begin() + 7);  // table_id_extension, version, section_number
    key.append(s.end() - 4, s.end());          // CRC_32
    return key;
}

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

    std::unordered_map<std::string, std::size_t> index;
    result.error =
        ts::extract_sections(path, extractor, [&](std::uint16_t pid, std::span<const std::uint8_t> s) {
            const auto [it, added] = index.try_emplace(distinct_key(pid, s), result.distinct.size());
            if (added) {
                result.distinct.push_back({pid, {s.begin(), s.end()}, 0});
                if (follow_pats && pid == pat_pid && s[0] == 0x00) select_pmt_pids(s, extractor);
            }
            ++result.distinct[it->second].seen;
            result.occurrences.push_back(it->second);
        });
    result.stats = extractor.stats();
    return result;
}

void print_capture_sections(std::ostream& out, const capture_sections& sections, bool every_occurrence) {
    const auto print = [&](const distinct_section& s) {
        char line[96];
        std::snprintf(line, sizeof line, "== PID 0x%04x table_id 0x%02x, %zu bytes, seen %zu times\n", s.pid,
                      s.bytes[0], s.bytes.size(), s.seen);
        out << line;
        dump_section(out, s.bytes.data(), s.bytes.size());
    };
    if (every_occurrence)
        for (std::size_t i : sections.occurrences)
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
    bool every_occurrence = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--all-pids") {
            selection.all_pids = true;
        } else if (arg == "--all") {
            every_occurrence = true;
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
    print_capture_sections(std::cout, sections, every_occurrence);
    std::cout.flush();
    const auto& stats = sections.stats;
    if (stats.skipped_bytes > 0)
        std::cerr << "kestrel-cli sections: warning: " << *path << ": sync lost " << stats.sync_losses
                  << " times, " << stats.skipped_bytes << " bytes skipped\n";
    if (stats.truncated_bytes > 0)
        std::cerr << "kestrel-cli sections: warning: " << *path << ": truncated last packet ignored ("
                  << stats.truncated_bytes << " bytes)\n";
    return 0;
}

}  // namespace kestrel::cli
