#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>

#include "analysis/stream_analyser.h"
#include "device/card.h"

namespace kestrel::cli {

// What `kestrel-cli analyse` is asked to do. The limits start from the stored settings.
struct analyse_request {
    std::string file;
    std::string card;  // --card SPEC: the card's whole stream instead of a file
    std::string csv;   // --csv FILE: the bins
    bool json = false;
    bool quiet = false;
    analysis::analysis_options options;
};

// Reads the arguments after `analyse` into `request`: "" or a one-line error.
std::string parse_analyse_request(std::span<char* const> args, analyse_request& request);

extern const char* const analyse_usage;
int run_analyse(std::span<char* const> args);

// What an analysis came to, for the report and the exit status.
struct analysis_outcome {
    analysis::analysis_report report;
    std::string error;  // the input failed on the way; the report covers what was read
    bool interrupted = false;
    std::optional<delivery_faults> faults;  // a card's, reported apart from the stream's errors
};
// Prints the report as asked, writes the CSV file and gives the exit status.
int report_analysis(const analyse_request& request, const analysis_outcome& outcome);
// "kestrel-cli analyse: TEXT" on standard error; returns `status`.
int analyse_failure(const std::string& text, int status);

// `analyse --card SPEC`: the whole stream of the card.
int analyse_card(const analyse_request& request);
// The card's faults after the text report, and the JSON report with "delivery_faults".
void write_faults_text(std::ostream& out, const delivery_faults& faults);
void write_json_with_faults(std::ostream& out, const analysis::analysis_report& report,
                            const delivery_faults& faults);

}  // namespace kestrel::cli
