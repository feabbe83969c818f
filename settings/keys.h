#pragma once

// Every setting the program keeps, with its group, key and default.

#include <cstdint>
#include <string>
#include <string_view>

#include "settings/settings_store.h"

namespace kestrel::settings {

template <class T>
struct key {
    std::string_view group;
    std::string_view name;
    T fallback;
};

using int_key = key<std::int32_t>;
using string_key = key<std::string_view>;

// "General": spelt with a capital G, since Qt writes a group "general" as [%General] and
// reads it back as "General" on Linux.
inline constexpr std::string_view general = "General";
inline constexpr int_key loglevel{general, "loglevel", 0};
inline constexpr string_key card{general, "card", ""};
inline constexpr string_key pidfile{general, "pidfile", ""};
inline constexpr string_key mulpidfile{general, "mulpidfile", ""};
// The channel list written last.
inline constexpr string_key channelfile{general, "channelfile", ""};
// The captures opened lately, newest first, one path a line.
inline constexpr string_key recent{general, "recent", ""};

// "LNB": the satellite behind DiSEqC positions 0..3 ("" = position not used).
inline constexpr string_key lnb_satellite[4] = {
    {"LNB", "LNB1", ""}, {"LNB", "LNB2", ""}, {"LNB", "LNB3", ""}, {"LNB", "LNB4", ""}};

// "DISQ": the LNB and DiSEqC configuration...
inline constexpr int_key disqmode{"DISQ", "DISQMODE", 0};
inline constexpr int_key lof1{"DISQ", "LOF1", 9750000};
inline constexpr int_key lof2{"DISQ", "LOF2", 10600000};
inline constexpr int_key switch_khz{"DISQ", "SWITCH", 11700000};
inline constexpr int_key lnbpower{"DISQ", "LNBPOWER", 1};
// ... and the tuning at the end of the last run.
inline constexpr int_key frequency{"DISQ", "FREQUENCY", 12322000};
inline constexpr int_key polarity{"DISQ", "POLARITY", 0};
inline constexpr int_key fec{"DISQ", "FEC", 0};
inline constexpr int_key symbolrate{"DISQ", "SYMBOLRATE", 27800000};
inline constexpr int_key disqsel{"DISQ", "DISQSEL", 0};
inline constexpr int_key si{"DISQ", "SI", 2};
inline constexpr int_key qam{"DISQ", "QAM", 0};
inline constexpr int_key bw{"DISQ", "BW", 3};
// ... with its delivery record (lib13818/delivery/delivery.h), in the record's own numbers:
// SYSTEM 1 DVB-S, 2 DVB-C, 3 DVB-T, 4 DVB-S2, 5 DVB-T2; MODULATION 2 QPSK, 5 8PSK, 6 16APSK,
// 7 32APSK, 16..256 QAM; ROLLOFF 35, 25, 20; PILOT 0 off, 1 on; STREAMID the input stream or
// PLP; PLSCODE the Gold index; CODERATEHP, CODERATELP 12 (1/2) .. 910 (9/10); GUARD 4 (1/4),
// 8, 16, 32, 128, 19128 (19/128), 19256; TRANSMODE 1, 2, 4, 8, 16, 32 (k); HIERARCHY 0 none,
// 1, 2, 4; BANDWIDTHHZ in Hz. -1 everywhere means automatic or none, and so does a missing
// key: a file from before them tunes as it did, QAM, BW and SI in force.
inline constexpr int_key delivery_system{"DISQ", "SYSTEM", -1};
inline constexpr int_key modulation{"DISQ", "MODULATION", -1};
inline constexpr int_key rolloff{"DISQ", "ROLLOFF", -1};
inline constexpr int_key pilot{"DISQ", "PILOT", -1};
inline constexpr int_key streamid{"DISQ", "STREAMID", -1};
inline constexpr int_key plscode{"DISQ", "PLSCODE", -1};
inline constexpr int_key coderatehp{"DISQ", "CODERATEHP", -1};
inline constexpr int_key coderatelp{"DISQ", "CODERATELP", -1};
inline constexpr int_key guard{"DISQ", "GUARD", -1};
inline constexpr int_key transmode{"DISQ", "TRANSMODE", -1};
inline constexpr int_key hierarchy{"DISQ", "HIERARCHY", -1};
inline constexpr int_key bandwidthhz{"DISQ", "BANDWIDTHHZ", -1};

// "table": which SI tables the scans read (bits of scan/table_selection.h; with nothing
// stored every bit reads as set) and the delay between PID stream reads in milliseconds.
inline constexpr std::string_view table = "table";
inline constexpr std::string_view enable = "enable";
inline constexpr int_key readdelay{table, "readdelay", 500};

// "epg": the programme guide's local time: the TOT country whose offset applies ("" = the
// first the TOT lists) and, when set, an offset in minutes that replaces the TOT's.
inline constexpr string_key epg_country{"epg", "country", ""};
inline constexpr string_key epg_offset_minutes{"epg", "offset_minutes", ""};

// "analysis": the limits of the stream analysis (milliseconds), DVB measurement practice by
// default, and how many error events it keeps per indicator.
inline constexpr int_key analysis_pcr_interval_ms{"analysis", "pcr_interval_ms", 40};
inline constexpr int_key analysis_pid_timeout_ms{"analysis", "pid_timeout_ms", 5000};
inline constexpr int_key analysis_interval_ms{"analysis", "interval_ms", 1000};
inline constexpr int_key analysis_kept_errors{"analysis", "kept_errors", 1000};

// "window": where the desktop program's windows were, as Qt saves a window's geometry, a
// splitter's state or a header's column widths, in Base64; one key per window or part
// ("mainframe", "transponder", "transponder_columns", "Tuning").
inline constexpr std::string_view window = "window";

// A key read with its own default, and written.
inline std::int32_t read(settings_store& store, const int_key& k) {
    return store.read_int(k.group, k.name, k.fallback);
}
inline std::string read(settings_store& store, const string_key& k) {
    return store.read_string(k.group, k.name, k.fallback);
}
inline void write(settings_store& store, const int_key& k, std::int32_t value) {
    store.write_int(k.group, k.name, value);
}
inline void write(settings_store& store, const string_key& k, std::string_view value) {
    store.write_string(k.group, k.name, value);
}

}  // namespace kestrel::settings
