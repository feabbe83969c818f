#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string_view>
#include <thread>

#include "cli/delivery_warnings.h"
#include "cli/interrupt.h"
#include "cli/program_settings.h"
#include "cli/scan_command.h"
#include "cli/scan_progress_printer.h"
#include "cli/scan_report.h"
#include "dbexport/database_export.h"
#include "device/card.h"
#include "scan/si_reader.h"
#include "startup/session.h"

namespace kestrel::cli {

const char* const scan_usage =
    "usage: kestrel-cli scan [--card SPEC] [--mode current|nit|satellites] [--tables MASK] [--quiet]\n"
    "                        [--tree [--values] | --json] [--export FILE.db] [--channels FILE\n"
    "                        [--channel-format dvbv5|vdr]] [--force]\n\n"
    "Reads the PSI/SI tables of the transport stream the card is tuned to (--mode current,\n"
    "the default), of every transport stream its NIT lists (nit), or of every transport\n"
    "stream of the satellites the settings \"LNB\"/\"LNB1\"..\"LNB4\" name for the DiSEqC\n"
    "positions 0-3, found in the satellite list (satellites). Both put the tuning back at the\n"
    "end. nit tunes what the card's family can: DVB-S and DVB-S2 (each input stream of a\n"
    "multistream transponder), DVB-C, DVB-T and DVB-T2 (each PLP); each transport stream\n"
    "once, trying its other frequencies when one does not lock, each tuning and what it\n"
    "skips said on standard error. satellites needs a DVB-S card.\n\n"
    "  --card SPEC      linux:N, capture:FILE or demo (default: the stored card, else the\n"
    "                   first adapter, else the demo)\n"
    "  --mode MODE      current, nit or satellites\n"
    "  --tables MASK    the tables to read for this run instead of the stored \"table\"/\"enable\"\n"
    "                   (decimal or 0x hex; never written): 0x1 PAT, 0x2 CAT, 0x4 BAT, 0x8 PMT,\n"
    "                   0x10 NIT actual, 0x20 NIT other, 0x40 EIT p/f actual, 0x80 EIT p/f\n"
    "                   other, 0x100 EIT schedule actual, 0x200 EIT schedule other, 0x400 SDT\n"
    "                   actual, 0x800 SDT other, 0x1000 RST, 0x2000 TDT, 0x4000 TOT. NIT, SDT\n"
    "                   and PAT are always read first; their bits decide whether they are kept.\n"
    "  --quiet          no progress on standard error\n"
    "  --tree           the table tree instead of the summary: one node a line, two blanks\n"
    "                   a level\n"
    "  --values         with the tree (implies --tree): each record's fields after its node,\n"
    "                   \"| NAME = VALUE\", one level deeper\n"
    "  --json           the whole scan result as JSON (the README describes its shape)\n"
    "  --export FILE    then write the scan result, even an empty one, into the new SQLite\n"
    "                   database FILE (tables tb_network, tb_transponder, tb_service,\n"
    "                   tb_ca_ecm, tb_ca_emm, tb_audio; views service_list, ecm_list)\n"
    "  --channels FILE  then write a channel list of the scan into FILE: one entry per program\n"
    "                   of each transport stream's PAT, in logical channel number order where\n"
    "                   the NIT or a BAT gives numbers, else by service id\n"
    "  --channel-format FORMAT\n"
    "                   dvbv5 (the default, whatever FILE is called: dvbv5-zap's channel\n"
    "                   file) or vdr (VDR's channels.conf)\n"
    "  --force          replace an export or channel list FILE that exists (without it the\n"
    "                   scan does not start)\n\n"
    "Standard output: per network \"ONID - name\", under it each transport stream's\n"
    "\"TSID - MHz polarisation FEC ksymbols/s\" indented two blanks, under that one line per\n"
    "table read, e.g. \"    PAT: 1 section, 2 programs\". Standard error: one line per\n"
    "collection with the bytes each row read. Ctrl-C ends the collection in progress and\n"
    "the scan, prints what was scanned and exits 130.\n"
    "Exit status: 0 something was scanned, 1 nothing was (or the card is not locked after\n"
    "about a second; \"Failed to read NIT\" in mode nit), 2 bad arguments, no usable card,\n"
    "or mode satellites on a card that is not DVB-S; 1 also when the export fails, its\n"
    "reason on standard error (FILE then holds what it held before); the same for the\n"
    "channel list.\n";

namespace {

constexpr std::uint64_t lock_wait_ms = 1000;

bool read_mask(std::string_view text, std::int32_t& mask) {
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > 0x7FFFFFFF)
        return false;
    mask = static_cast<std::int32_t>(value);
    return true;
}

bool read_mode(std::string_view text, std::int32_t& mode) {
    static const std::map<std::string_view, std::int32_t> modes{
        {"current", ScanContext::current_transponder},
        {"nit", ScanContext::current_nit},
        {"satellites", ScanContext::configured_satellites}};
    const auto it = modes.find(text);
    if (it == modes.end()) return false;
    mode = it->second;
    return true;
}

// True once the card is locked; false when it is still not after about a second of its
// clock (a capture card's clock stands still while nothing plays, so the wall clock bounds
// the wait as well).
bool locks_soon(dvb_device& device) {
    const std::uint64_t start = device.clock_ms();
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::milliseconds(lock_wait_ms);
    while (!device.is_locked()) {
        if (device.clock_ms() - start >= lock_wait_ms || std::chrono::steady_clock::now() >= give_up)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

int fail(const std::string& text, int status) {
    std::fprintf(stderr, "kestrel-cli scan: %s\n", text.c_str());
    return status;
}

// The scan result into request.export_path; false, with the reason on standard error, when
// that fails.
bool export_scan(const scan_request& request, const AllNetworks& networks) {
    const std::string failure = dbexport::export_database(request.export_path, networks);
    if (!failure.empty()) {
        std::fprintf(stderr, "kestrel-cli scan: export to '%s' failed:\n%s\n", request.export_path.c_str(),
                     failure.c_str());
        return false;
    }
    if (!request.quiet)
        std::fprintf(stderr, "kestrel-cli scan: exported to '%s'\n", request.export_path.c_str());
    return true;
}

// The channel list of the scan into request.channels_path, satellite entries naming the
// stored LNB; false, with the reason on standard error, when that fails.
bool write_channels(const scan_request& request, const AllNetworks& networks, settings_store& store) {
    const channels::lnb_oscillators lnb = channels::stored_lnb(store);
    std::size_t written = 0;
    const std::string failure =
        channels::write_channel_list(request.channels_path, networks, request.channel_format, lnb, written);
    if (!failure.empty()) {
        // One line: a failed file operation's text comes as "Error: ...\nDesc: ...\nSource: ...".
        std::string reason = failure;
        for (std::size_t at = 0; (at = reason.find('\n', at)) != std::string::npos;)
            reason.replace(at, 1, " / ");
        std::fprintf(stderr, "kestrel-cli scan: channel list '%s' not written: %s\n",
                     request.channels_path.c_str(), reason.c_str());
        return false;
    }
    if (!request.quiet)
        std::fprintf(stderr, "kestrel-cli scan: %zu channels written to '%s'\n", written,
                     request.channels_path.c_str());
    return true;
}

// True when something, even a dangling link, is at path.
bool exists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::symlink_status(path, ignored).type() != std::filesystem::file_type::not_found;
}

}  // namespace

std::string parse_scan_request(std::span<char* const> args, scan_request& request) {
    bool format_given = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i], value;
        if (arg == "--quiet" || arg == "--force" || arg == "--tree" || arg == "--values" || arg == "--json") {
            bool& flag = arg == "--quiet"   ? request.quiet
                         : arg == "--force" ? request.force
                         : arg == "--tree"  ? request.tree
                         : arg == "--json"  ? request.json
                                            : request.values;
            flag = true;
            continue;
        }
        const auto equals = arg.find('=');
        const bool inline_value = equals != std::string_view::npos;
        if (inline_value) {
            value = arg.substr(equals + 1);
            arg = arg.substr(0, equals);
        }
        const char* needs = arg == "--card"             ? "a SPEC"
                            : arg == "--mode"           ? "current, nit or satellites"
                            : arg == "--tables"         ? "a table mask (decimal or 0x hex)"
                            : arg == "--export"         ? "a database file name"
                            : arg == "--channels"       ? "a channel list file name"
                            : arg == "--channel-format" ? "dvbv5 or vdr"
                                                        : nullptr;
        if (needs == nullptr) return "unknown argument '" + std::string(args[i]) + "' (try --help)";
        if (!inline_value) {
            if (i + 1 >= args.size()) return std::string(arg) + " needs " + needs;
            value = args[++i];
        }
        std::int32_t number = 0;
        bool ok = false;
        if (arg == "--card") {
            request.card = value;
            ok = !value.empty();
        } else if (arg == "--mode") {
            ok = read_mode(value, request.mode);
        } else if (arg == "--export" || arg == "--channels") {
            (arg == "--export" ? request.export_path : request.channels_path) = value;
            ok = !value.empty();
        } else if (arg == "--channel-format") {
            ok = channels::parse_channel_format(value, request.channel_format);
            format_given = true;
        } else if ((ok = read_mask(value, number))) {
            request.tables = number;
        }
        if (!ok) return std::string(arg) + " needs " + needs + ", not '" + std::string(value) + "'";
    }
    if (request.force && request.export_path.empty() && request.channels_path.empty())
        return "--force needs --export or --channels";
    if (format_given && request.channels_path.empty()) return "--channel-format needs --channels";
    if (request.values) request.tree = true;
    if (request.tree && request.json) return "--json and --tree (or --values) exclude each other";
    return "";
}

int run_scan(std::span<char* const> args) {
    scan_request request;
    if (const std::string error = parse_scan_request(args, request); !error.empty()) return fail(error, 2);
    for (const std::string& path : {request.export_path, request.channels_path})
        if (!path.empty() && !request.force && exists(path))
            return fail("'" + path + "' exists; --force replaces it", 2);

    startup::session session = open_session(request.card);
    settings_store& store = session.settings();
    dvb_device* device = session.device();
    if (device == nullptr || !session.card_error().empty()) return fail(session.card_error(), 2);
    if (request.mode == ScanContext::configured_satellites && device->get_frontend_type() != frontend_dvb_s)
        return fail("card '" + session.card_spec() + "' is not DVB-S: --mode satellites needs one", 2);
    if (request.mode != ScanContext::configured_satellites && !locks_soon(*device)) {
        keep_session(session, "scan");
        return fail("card '" + session.card_spec() + "' is not locked", 1);
    }

    const table_selection tables = request.tables ? table_selection(*request.tables) : table_selection(store);
    scan_progress_printer progress(stderr, request.quiet);
    si_reader reader(*device, store, session.satellites(), tables, progress);
    AllNetworks networks;
    bool interrupted = false;
    {
        interrupt_watch watch([&] {
            progress.stop_after_collection();
            reader.cancel();
        });
        reader.run(networks, request.mode);
        interrupted = watch.interrupted();
    }
    const int output = report_scan(request, networks, stdout);
    warn_delivery_faults(stderr, "scan", *device);
    keep_session(session, "scan");
    if (!request.export_path.empty() && !export_scan(request, networks)) return 1;
    if (!request.channels_path.empty() && !write_channels(request, networks, store)) return 1;
    if (interrupted) return 130;
    if (output != 0) return output;
    if (networks.empty() && !reader.missing_tables().empty())
        std::fprintf(stderr, "kestrel-cli scan: no %s received on card '%s'; nothing was scanned\n",
                     reader.missing_tables().c_str(), session.card_spec().c_str());
    return networks.empty() ? 1 : 0;
}

}  // namespace kestrel::cli
