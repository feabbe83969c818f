#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/delivery_warnings.h"
#include "cli/epg_command.h"
#include "cli/interrupt.h"
#include "cli/number_argument.h"
#include "cli/program_settings.h"
#include "cli/text_charset.h"
#include "epg/collection.h"
#include "epg/guide_builder.h"
#include "epg/guide_filter.h"
#include "epg/guide_json.h"
#include "epg/guide_text.h"
#include "epg/xmltv_writer.h"
#include "startup/build_info.h"
#include "startup/session.h"

namespace kestrel::cli {

const char* const epg_usage =
    "usage: kestrel-cli epg [FILE.ts | --card SPEC] [--xmltv FILE] [--json] [--service SID ...]\n"
    "                       [--days N] [--seconds N] [--force]\n\n"
    "Collects the programme guide: every EIT section (present/following and schedule, this\n"
    "and other transport streams), the SDT's service names and the TDT/TOT's time and\n"
    "local time offset. From a capture FILE.ts in one pass; from a card (--card SPEC, or the\n"
    "stored card when no FILE is given) until every sub-table announced is complete or\n"
    "--seconds of the card's clock have passed, with progress on standard error.\n\n"
    "Standard output lists per service and per local day \"hh:mm-hh:mm  title  [genre]\"\n"
    "(\"*\" marks an event that overlaps another). Local time is the TOT's offset for the\n"
    "country of the setting \"epg\"/\"country\" (default: the first it lists), or the\n"
    "setting \"epg\"/\"offset_minutes\" when set; JSON and XMLTV times are UTC.\n\n"
    "  --card SPEC      linux:N, capture:FILE or demo\n"
    "  --xmltv FILE     also write the guide as an XMLTV file, whole or not at all\n"
    "  --force          replace an existing XMLTV FILE (without it the command does not start)\n"
    "  --json           the guide as JSON instead of the text listing\n"
    "  --service SID    only these services (decimal or 0x hex; repeatable)\n"
    "  --days N         only events that end after the stream's time (TDT, else the earliest\n"
    "                   event) and start within N days of it\n"
    "  --seconds N      from a card, stop after N seconds of its clock (default 60)\n\n"
    "Ctrl-C ends a card's collection; what was collected is listed and written, exit 130.\n"
    "Exit status: 0 at least one titled event was listed or written, 3 the input holds none\n"
    "(then nothing is written), 1 the XMLTV file cannot be written, 2 bad arguments or an\n"
    "input that cannot be read.\n";

namespace {

int fail(const std::string& text, int status) {
    std::fprintf(stderr, "kestrel-cli epg: %s\n", text.c_str());
    return status;
}

// A service_id in decimal or 0x hex.
std::optional<std::uint16_t> service_id(std::string_view text) {
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    std::uint32_t sid = 0;
    if (!whole_number<std::uint32_t>(hex ? text.substr(2) : text, 0, 0xFFFF, sid, hex ? 16 : 10))
        return std::nullopt;
    return static_cast<std::uint16_t>(sid);
}

// Polls the store's counters every half second while the collection runs on `worker`.
void show_progress(const epg::section_store& store, std::mutex& mutex, std::condition_variable& ended,
                   const bool& done) {
    std::unique_lock lock(mutex);
    while (!ended.wait_for(lock, std::chrono::milliseconds(500), [&] { return done; }))
        std::fprintf(stderr, "guide: %llu EIT sections, %u of %u sub-tables complete\n",
                     static_cast<unsigned long long>(store.eit_sections()), store.complete_sub_tables(),
                     store.sub_tables());
}

// The card's collection, with progress and Ctrl-C; false, after the message, when the card
// cannot be used. `interrupted` tells whether Ctrl-C ended it.
bool collect_from_card(const epg_request& request, epg::section_store& store, bool& interrupted,
                       int& status) {
    startup::session session = open_session(request.card);
    dvb_device* device = session.device();
    if (device == nullptr || !session.card_error().empty()) {
        status = fail(session.card_error(), 2);
        return false;
    }
    if (!device->is_locked()) {
        status = fail("card '" + session.card_spec() + "' is not locked: no signal on the stored tuning", 2);
        return false;
    }
    epg::card_collection collection(*device, store, request.seconds);
    std::mutex mutex;
    std::condition_variable ended;
    bool done = false;
    epg::card_collection::ending ending{};
    {
        interrupt_watch watch([&] { collection.cancel(); });
        std::thread worker([&] {
            ending = collection.run();
            {
                std::lock_guard lock(mutex);
                done = true;
            }
            ended.notify_all();
        });
        show_progress(store, mutex, ended, done);
        worker.join();
        interrupted = watch.interrupted();
    }
    if (ending == epg::card_collection::ending::stopped)
        std::fprintf(stderr,
                     "kestrel-cli epg: warning: the guide is not complete (time or the capture ran out)\n");
    warn_delivery_faults(stderr, "epg", *device);
    keep_session(session, "epg");
    return true;
}

}  // namespace

std::string parse_epg_request(std::span<char* const> args, epg_request& r) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--json" || arg == "--force") {
            (arg == "--json" ? r.json : r.force) = true;
            continue;
        }
        if (arg == "--service") {
            // One service or several: every following argument that reads as a service_id.
            if (i + 1 == args.size() || !service_id(args[i + 1]))
                return "--service needs a service_id from 0 to 0xffff";
            while (i + 1 < args.size() && service_id(args[i + 1]))
                r.services.insert(*service_id(args[++i]));
            continue;
        }
        if (arg == "--card" || arg == "--xmltv" || arg == "--days" || arg == "--seconds") {
            if (i + 1 >= args.size()) return std::string(arg) + " needs a value";
            const std::string_view value = args[++i];
            std::uint32_t number = 0;
            if (arg == "--card") r.card = value;
            if (arg == "--xmltv") r.xmltv = value;
            if (arg == "--days") {
                if (!whole_number<std::uint32_t>(value, 1, 64, number))
                    return "--days needs a whole number from 1 to 64, not '" + std::string(value) + "'";
                r.days = static_cast<int>(number);
            }
            if (arg == "--seconds") {
                if (!whole_number<std::uint32_t>(value, 1, 4294967, number))
                    return "--seconds needs a whole number from 1 to 4294967, not '" + std::string(value) +
                           "'";
                r.seconds = number;
            }
            if (value.empty()) return std::string(arg) + " needs a value";
            continue;
        }
        if (arg.starts_with("-")) return "unknown argument '" + std::string(arg) + "' (try --help)";
        if (!r.file.empty()) return "more than one FILE";
        r.file = arg;
    }
    if (!r.file.empty() && !r.card.empty()) return "a FILE and --card exclude each other";
    if (r.force && r.xmltv.empty()) return "--force needs --xmltv";
    return "";
}

int run_epg(std::span<char* const> args) {
    epg_request request;
    if (const std::string error = parse_epg_request(args, request); !error.empty()) return fail(error, 2);
    std::error_code ignored;
    if (!request.xmltv.empty() && !request.force &&
        std::filesystem::symlink_status(request.xmltv, ignored).type() !=
            std::filesystem::file_type::not_found)
        return fail("'" + request.xmltv + "' exists; --force replaces it", 2);

    settings_store& settings = program_settings();
    epg::build_options options;
    options.local = epg::read_local_time_settings(settings);
    if (!charset_override().empty()) options.charset = charset_override();
    epg::section_store store({request.services, !options.local.offset_minutes.has_value()});
    bool interrupted = false;
    if (request.file.empty()) {
        int status = 0;
        if (!collect_from_card(request, store, interrupted, status)) return status;
    } else {
        startup::build_names_and_open_logs(settings, program_trace_level());
        if (const std::string error = epg::read_capture(request.file, store); !error.empty())
            return fail(error, 2);
    }

    const epg::guide guide = epg::select(epg::build_guide(store, options), {request.services, request.days});
    if (!guide.has_titled_event()) {
        std::fprintf(stderr, "kestrel-cli epg: no event with a title in the input%s\n",
                     request.xmltv.empty() ? "" : "; nothing was written");
        return interrupted ? 130 : 3;
    }
    if (request.json)
        epg::write_json(std::cout, guide);
    else
        epg::write_text(std::cout, guide);
    std::cout.flush();
    if (!request.xmltv.empty()) {
        std::size_t programmes = 0;
        const std::string error = epg::write_xmltv_file(
            request.xmltv, guide, std::string("kestrel/") + startup::version_text(), programmes);
        if (!error.empty()) return fail("cannot write '" + request.xmltv + "':\n" + error, 1);
        std::fprintf(stderr, "kestrel-cli epg: %zu programmes written to '%s'\n", programmes,
                     request.xmltv.c_str());
    }
    return interrupted ? 130 : 0;
}

}  // namespace kestrel::cli
