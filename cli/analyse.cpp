#include <atomic>
#include <chrono>
#include <cstdio>
#include <iostream>

#include "analysis/capture_analysis.h"
#include "analysis/report_writers.h"
#include "cli/analyse_command.h"
#include "cli/interrupt.h"
#include "cli/number_argument.h"
#include "cli/program_settings.h"
#include "dbexport/replacement_file.h"

namespace kestrel::cli {

const char* const analyse_usage =
    "usage: kestrel-cli analyse FILE.ts [--seconds N] [--json] [--csv FILE] [--interval MS]\n"
    "                           [--pcr-interval MS] [--pid-timeout MS] [--bitrate BPS] [--quiet]\n"
    "       kestrel-cli analyse --card SPEC [--seconds N] [the options above]\n\n"
    "Measures the health of a transport stream capture in one pass (188-, 192- or 204-byte\n"
    "packets), or of what a card receives on its stored tuning: the ETSI TR 101 290 indicators of priority 1 "
    "(sync, PAT, continuity, PMT,\n"
    "PIDs), 2 (transport errors, CRCs, PCRs, PTS, CAT) and 3 (the SI tables), and per PID its\n"
    "kind, services, packets, scrambled packets, continuity errors, lost packets, PCR\n"
    "intervals and bit rate (mean, and minimum and maximum over the time bins).\n\n"
    "Time comes from the PCRs of the first PID that carries them (interpolated between two\n"
    "PCRs), from the arrival stamps of 192-byte packets, or from --bitrate. Without any, the\n"
    "indicators that need time are not measured and no rates are given.\n\n"
    "Standard output gets the verdict, the PID table, the indicator counts and the first\n"
    "errors of each indicator with their packet numbers (from 0, in the capture and in the\n"
    "PID) and times (seconds from the first packet).\n\n"
    "  --card SPEC        analyse the whole stream the card receives (linux:N, capture:FILE\n"
    "                     or demo) until --seconds of the card's clock, the end of one pass of\n"
    "                     a capture card, or Ctrl-C; the report adds the card's delivery\n"
    "                     faults (demux buffer overruns, lock losses) apart from the stream's\n"
    "                     errors\n"
    "  --json             the report as one JSON document instead\n"
    "  --csv FILE         also write the bit rate of each PID per time bin to FILE, as CSV\n"
    "  --seconds N        only the first N seconds of the stream's time (with a time base;\n"
    "                     with --card, of the card's clock)\n"
    "  --interval MS      the length of a time bin (default 1000)\n"
    "  --pcr-interval MS  the longest interval between PCRs of a PID (default 40; MPEG\n"
    "                     allows 100)\n"
    "  --pid-timeout MS   the longest absence of a video or audio PID (default 5000)\n"
    "  --bitrate BPS      time the packets at this constant rate (bit/s)\n"
    "  --quiet            no progress on standard error\n\n"
    "The limits' defaults come from the settings group \"analysis\". Progress goes to\n"
    "standard error about every half second; Ctrl-C ends the reading and reports what was\n"
    "read (exit 130). Exit status: 0 no measured priority 1 or 2 indicator was raised, 1 one\n"
    "was, 2 bad arguments, an input that cannot be read or no usable card, 3 the CSV file\n"
    "cannot be written.\n";

int analyse_failure(const std::string& text, int status) {
    std::fprintf(stderr, "kestrel-cli analyse: %s\n", text.c_str());
    return status;
}

namespace {

// Prints how far the reading has come, at most every half second.
class progress_printer {
  public:
    void operator()(std::uint64_t read, std::uint64_t size) {
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(500)) return;
        last_ = now;
        std::fprintf(stderr, "analyse: %llu of %llu MiB read\n", static_cast<unsigned long long>(read >> 20),
                     static_cast<unsigned long long>(size >> 20));
    }

  private:
    std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace

std::string parse_analyse_request(std::span<char* const> args, analyse_request& r) {
    auto& limits = r.options.limits;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--json" || arg == "--quiet") {
            (arg == "--json" ? r.json : r.quiet) = true;
            continue;
        }
        if (arg == "--csv" || arg == "--card" || arg == "--seconds" || arg == "--interval" ||
            arg == "--pcr-interval" || arg == "--pid-timeout" || arg == "--bitrate") {
            if (i + 1 >= args.size() || std::string_view(args[i + 1]).empty())
                return std::string(arg) + " needs a value";
            const std::string_view value = args[++i];
            const auto bad = [&](const char* range) {
                return std::string(arg) + " needs a whole number from " + range + ", not '" +
                       std::string(value) + "'";
            };
            std::uint32_t number = 0;
            std::uint64_t rate = 0;
            if (arg == "--csv" || arg == "--card") {
                (arg == "--csv" ? r.csv : r.card) = value;
            } else if (arg == "--bitrate") {
                if (!whole_number<std::uint64_t>(value, 1000, 10'000'000'000, rate))
                    return bad("1000 to 10000000000");
                r.options.bitrate_bps = rate;
            } else if (!whole_number<std::uint32_t>(value, 1, 86'400'000, number)) {
                return bad("1 to 86400000");
            } else if (arg == "--seconds") {
                r.options.seconds = number;
            } else {
                (arg == "--interval"       ? limits.bin_interval_ms
                 : arg == "--pcr-interval" ? limits.pcr_interval_ms
                                           : limits.pid_timeout_ms) = number;
            }
            continue;
        }
        if (arg.size() > 1 && arg.starts_with("-"))
            return "unknown argument '" + std::string(arg) + "' (try --help)";
        if (!r.file.empty()) return "more than one FILE";
        r.file = arg;
    }
    if (!r.card.empty() && !r.file.empty()) return "a capture FILE or --card, not both";
    if (r.file.empty() && r.card.empty()) return "expected a capture FILE.ts or --card SPEC (try --help)";
    return "";
}

int run_analyse(std::span<char* const> args) {
    analyse_request request;
    request.options.limits = analysis::read_thresholds(program_settings());
    if (const std::string error = parse_analyse_request(args, request); !error.empty())
        return analyse_failure(error, 2);
    if (!request.card.empty()) return analyse_card(request);

    std::atomic<bool> stop{false};
    progress_printer printer;
    analysis::capture_analysis result;
    bool interrupted = false;
    {
        interrupt_watch watch([&] { stop = true; });
        result = analysis::analyse_capture(request.file, request.options, stop,
                                           [&](std::uint64_t read, std::uint64_t size) {
                                               if (!request.quiet) printer(read, size);
                                           });
        interrupted = watch.interrupted();
    }
    // A file that cannot be read at all gets no report; one that fails on the way, the report
    // of what was read.
    if (!result.error.empty() && result.report.packets == 0) return analyse_failure(result.error, 2);
    return report_analysis(request, {result.report, result.error, interrupted, std::nullopt});
}

int report_analysis(const analyse_request& request, const analysis_outcome& outcome) {
    const analysis::analysis_report& report = outcome.report;
    if (request.json && outcome.faults)
        write_json_with_faults(std::cout, report, *outcome.faults);
    else if (request.json)
        analysis::write_json(std::cout, report);
    else
        analysis::write_text(std::cout, report);
    if (!request.json && outcome.faults) write_faults_text(std::cout, *outcome.faults);
    std::cout.flush();
    if (report.skipped_bytes > 0)
        std::fprintf(stderr, "kestrel-cli analyse: warning: %llu bytes skipped while out of sync\n",
                     static_cast<unsigned long long>(report.skipped_bytes));
    if (report.truncated_bytes > 0)
        std::fprintf(stderr, "kestrel-cli analyse: warning: truncated last packet ignored (%llu bytes)\n",
                     static_cast<unsigned long long>(report.truncated_bytes));
    if (!request.csv.empty()) {
        const std::string error = dbexport::write_whole_file(
            request.csv, [&](std::ostream& out) { analysis::write_bins_csv(out, report); });
        if (!error.empty()) return analyse_failure("cannot write '" + request.csv + "': " + error, 3);
    }
    if (!outcome.error.empty()) return analyse_failure(outcome.error, 2);
    if (outcome.interrupted) return 130;
    return report.failed() ? 1 : 0;
}

}  // namespace kestrel::cli
