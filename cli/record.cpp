#include <charconv>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/card_commands.h"
#include "cli/delivery_warnings.h"
#include "cli/interrupt.h"
#include "cli/pid_argument.h"
#include "cli/program_settings.h"
#include "startup/session.h"
#include "streaming/recording.h"

namespace kestrel::cli {

const char* const record_usage =
    "usage: kestrel-cli record [--card SPEC] --pid PID [PID ...] --out PATH [--seconds N]\n\n"
    "Records every transport packet of the PIDs (decimal or 0x hex, at most 32) from the\n"
    "tuned card into files. One PID goes to PATH itself; several go to one file each, with\n"
    "_PPPP (the PID in hex) inserted before the last '.' of PATH's file name, or appended\n"
    "when it has none: --pid 0 0x10 --out rec.ts writes rec_0000.ts and rec_0010.ts.\n"
    "Recording ends after N seconds of the card's clock, when a capture card has played\n"
    "its file once, or on Ctrl-C; the files are complete in every case. Progress goes to\n"
    "standard error about every half second; at the end each file is listed with its\n"
    "byte count.\n"
    "Exit status: 0 every PID recorded, 1 one failed, 2 bad arguments or no usable card.\n\n"
    "  --card SPEC   linux:N, capture:FILE or demo (default: the stored card, else the\n"
    "                first adapter); the card plays the last tuning\n"
    "  --pid PID...  the PIDs to record, each once; all: the whole transport stream as\n"
    "                received (to replay later with --card capture:FILE.ts)\n"
    "  --out PATH    the output file, or the base of the names for several PIDs\n"
    "  --seconds N   stop after N seconds of the card's clock\n";

namespace {

struct record_request {
    std::string card;
    std::vector<int> pids;
    std::string out;
    std::uint32_t seconds = 0;  // 0: until the pass ends or Ctrl-C
};

bool is_option(std::string_view arg) {
    return arg.size() > 2 && arg.substr(0, 2) == "--";
}

// The PIDs after --pid, up to the next option; "" or the error.
std::string read_pids(std::span<char* const> args, std::size_t& i, std::vector<int>& pids) {
    const std::size_t first = pids.size();
    while (i + 1 < args.size() && !is_option(args[i + 1])) {
        const std::string_view text = args[++i];
        const auto pid = text == "all" ? std::optional<std::uint16_t>(whole_stream_pid) : parse_pid(text);
        if (!pid || *pid == streaming::empty_pid)
            return "bad PID '" + std::string(text) + "' (decimal or 0x hex, 0 to 0x1FFE, or all)";
        pids.push_back(*pid);
    }
    return pids.size() == first ? "--pid needs at least one PID" : "";
}

// Reads the arguments; "" or the one-line error.
std::string parse(std::span<char* const> args, record_request& r) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--pid") {
            if (std::string error = read_pids(args, i, r.pids); !error.empty()) return error;
            continue;
        }
        if (arg != "--card" && arg != "--out" && arg != "--seconds")
            return "unknown argument '" + std::string(arg) + "' (try --help)";
        if (i + 1 >= args.size()) return std::string(arg) + " needs a value";
        const std::string_view value = args[++i];
        if (arg == "--card") r.card = value;
        if (arg == "--out") r.out = value;
        if (arg == "--seconds") {
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), r.seconds);
            if (error != std::errc() || end != value.data() + value.size() || r.seconds == 0 ||
                r.seconds > 4294967)
                return "--seconds needs a whole number of seconds from 1 to 4294967, not '" +
                       std::string(value) + "'";
        }
    }
    if (r.pids.empty()) return "--pid needs at least one PID";
    if (r.out.empty()) return "--out needs a file name";
    if (r.pids.size() > streaming::max_pids)
        return "at most 32 PIDs at once, not " + std::to_string(r.pids.size());
    if (const streaming::pid_plan plan = streaming::plan_pids(r.pids); !plan.refused.empty())
        return plan.refused[0];
    return "";
}

int fail(const std::string& message, int status) {
    std::fprintf(stderr, "kestrel-cli record: %s\n", message.c_str());
    return status;
}

std::unique_ptr<streaming::recording> make_recording(dvb_device& device, const record_request& r,
                                                     streaming::completion_notice notice) {
    if (r.pids.size() == 1)
        return std::make_unique<streaming::single_pid_recording>(device, r.out, r.pids[0], 8192,
                                                                 std::move(notice));
    return std::make_unique<streaming::multi_pid_recording>(device, r.out, r.pids, std::move(notice));
}

// Waits for the recording's end, saying how far it got about every half second.
void show_progress(const streaming::recording& recording, std::mutex& mutex, std::condition_variable& ended) {
    const auto* single = dynamic_cast<const streaming::single_pid_recording*>(&recording);
    std::unique_lock lock(mutex);
    while (!ended.wait_for(lock, std::chrono::milliseconds(500), [&] { return recording.finished(); })) {
        if (single != nullptr)
            std::fprintf(stderr, "recording: %llu bytes, %s\n",
                         static_cast<unsigned long long>(recording.bytes_read()),
                         streaming::rate_text(single->rate()).c_str());
        else
            std::fprintf(stderr, "recording: %llu bytes\n",
                         static_cast<unsigned long long>(recording.bytes_read()));
    }
}

}  // namespace

int run_record(std::span<char* const> args) {
    record_request request;
    if (const std::string error = parse(args, request); !error.empty()) return fail(error, 2);
    startup::session session = open_session(request.card);
    dvb_device_techotrend* device = session.device();
    if (device == nullptr || !session.card_error().empty()) return fail(session.card_error(), 2);
    if (!device->is_locked())
        return fail("card '" + session.card_spec() + "' is not locked: no signal on the stored tuning", 2);

    std::mutex mutex;
    std::condition_variable ended;
    const auto recording = make_recording(*device, request, [&] {
        { std::lock_guard lock(mutex); }
        ended.notify_all();
    });
    interrupt_watch watch([&] { recording->cancel(); });
    // The routine runs on the worker, in its wait, once the card's clock has moved on.
    if (request.seconds > 0) device->arm_timeout(request.seconds * 1000, [&] { recording->cancel(); });
    recording->start();
    show_progress(*recording, mutex, ended);
    recording->join();
    device->cancel_timeout();
    keep_session(session, "record");
    warn_delivery_faults(stderr, "record", *device);

    int status = 0;
    for (const streaming::pid_outcome& o : recording->outcomes()) {
        if (!o.file.empty())
            std::printf("%s: %llu bytes\n", o.file.c_str(), static_cast<unsigned long long>(o.bytes));
        if (!o.error.empty()) {
            std::fprintf(stderr, "kestrel-cli record: PID 0x%04X: %s\n", static_cast<unsigned>(o.pid),
                         o.error.c_str());
            status = 1;
        }
    }
    return status;
}

}  // namespace kestrel::cli
