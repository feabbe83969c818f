#include "analysis/signalling.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "lib13818/core/error.h"
#include "lib13818/tables/cat.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"

namespace kestrel::analysis {

namespace {

constexpr std::uint16_t pat_pid = 0x0000;
constexpr std::uint16_t cat_pid = 0x0001;
constexpr std::uint16_t nit_pid = 0x0010;
constexpr std::uint16_t sdt_pid = 0x0011;
constexpr std::uint16_t eit_pid = 0x0012;
constexpr std::uint16_t rst_pid = 0x0013;
constexpr std::uint16_t tdt_pid = 0x0014;
constexpr std::int64_t table_interval_ms = 500;  // PAT and PMT
constexpr std::int64_t closest_sections_ms = 25;
constexpr std::uint8_t stuffing_table = 0x72;

std::string pid_text(std::uint16_t pid) {
    char text[16];
    std::snprintf(text, sizeof text, "PID 0x%04x", pid);
    return text;
}

std::string table_text(std::uint8_t table_id, std::uint16_t pid) {
    char text[48];
    std::snprintf(text, sizeof text, "table_id 0x%02x on PID 0x%04x", table_id, pid);
    return text;
}

// Whether the table belongs on the SI PID (0x10-0x14; stuffing belongs on each): another one
// is an error of the tables of that PID.
bool belongs_on(std::uint16_t pid, std::uint8_t table_id) {
    if (table_id == stuffing_table) return true;
    switch (pid) {
        case nit_pid:
            return table_id == 0x40 || table_id == 0x41;
        case sdt_pid:
            return table_id == 0x42 || table_id == 0x46 || table_id == 0x4A;
        case eit_pid:
            return table_id >= 0x4E && table_id <= 0x6F;
        case rst_pid:
            return table_id == 0x71;
        case tdt_pid:
            return table_id == 0x70 || table_id == 0x73;
        default:
            return true;
    }
}

std::uint32_t crc_field(std::span<const std::uint8_t> s) {
    const std::uint8_t* p = s.data() + s.size() - 4;
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

stream_kind classify(const lib13818::ElementaryStream& es) {
    switch (es.stream_type) {
        case 0x01:
        case 0x02:
        case 0x10:
        case 0x1B:
        case 0x1E:
        case 0x20:
        case 0x24:
        case 0x33:
        case 0x42:
        case 0xD1:
        case 0xEA:
            return stream_kind::video;
        case 0x03:
        case 0x04:
        case 0x0F:
        case 0x11:
        case 0x1C:
        case 0x2D:
        case 0x81:
        case 0x87:
            return stream_kind::audio;
        case 0x06:
            break;
        default:
            return stream_kind::data;
    }
    // Private PES data: the descriptors say what it carries.
    if (!es.teletext.empty()) return stream_kind::teletext;
    for (const auto& d : es.general) {
        switch (d.descriptor_tag) {
            case 0x46:
            case 0x56:
                return stream_kind::teletext;
            case 0x59:
                return stream_kind::subtitles;
            case 0x6A:
            case 0x7A:
            case 0x7B:
            case 0x7C:
                return stream_kind::audio;
            default:
                break;
        }
    }
    return stream_kind::data;
}

bool timed_kind(stream_kind kind) {
    return kind == stream_kind::video || kind == stream_kind::audio;
}

const char* kind_name(stream_kind kind) {
    return kind == stream_kind::video ? "video" : "audio";
}

}  // namespace

signalling::signalling(const thresholds& limits) : limits_(limits) {
    pmt_program_.fill(-1);
    named_by_pmt_.fill(no_time);
    named_by_cat_.fill(no_time);
    nit_actual_sections_.fill(no_time);
    for (std::uint16_t pid : {pat_pid, cat_pid, nit_pid, sdt_pid, eit_pid, rst_pid, tdt_pid})
        add_assembler(pid);
}

void signalling::add_assembler(std::uint16_t pid) {
    if (assembler_of_[pid] != 0 || assemblers_.size() == UINT8_MAX) return;
    assemblers_.add();
    assembler_of_[pid] = static_cast<std::uint8_t>(assemblers_.size());
}

std::int64_t signalling::named_by_pmt_or_cat(std::uint16_t pid) const {
    const std::int64_t pmt = named_by_pmt_[pid], cat = named_by_cat_[pid];
    if (pmt == no_time) return cat;
    return cat == no_time ? pmt : std::min(pmt, cat);
}

void signalling::timed_occurrence(gap_timer& timer, std::int64_t limit_ms,
                                  std::initializer_list<indicator> which, const char* what,
                                  event_log& events) {
    if (const auto gap = timer.occur(at_.ticks, ms_ticks(limit_ms)))
        for (indicator i : which)
            events.raise(i, at_, [&] { return std::string(what) + " absent for " + seconds_text(*gap); });
}

void signalling::read(const ts::packet& packet, std::uint16_t index, packet_window& window) {
    assemblers_[assembler_of_[packet.header.pid] - 1].push(
        packet,
        [&](std::uint16_t pid, std::span<const std::uint8_t> s) { keep_section(pid, s, index, window); });
}

void signalling::keep_section(std::uint16_t pid, std::span<const std::uint8_t> bytes, std::uint16_t index,
                              packet_window& window) {
    read_section s{.index = index, .table_id = bytes[0]};
    s.crc_intact = intact_.intact(bytes);
    s.long_form = bytes.size() > 6;
    if (s.long_form) s.section_number = bytes[6];
    s.on_pmt_pid = is_pmt_pid(pid);
    // The PAT is read at once: the PMT PIDs it names carry sections from the next packet on.
    if (pid == pat_pid && s.table_id == 0x00 && s.crc_intact) pat(bytes);
    if (pid == first_programme_pmt_pid_ && s.table_id == 0x02 && s.crc_intact && bytes.size() > 9) {
        const int pcr_pid = (bytes[8] & 0x1F) << 8 | bytes[9];
        if (pcr_pid != ts::null_pid) reference_pcr_pid_ = pcr_pid;
    }
    // A PMT or CAT is kept for decoding only when it differs from its PID's last one.
    const bool table =
        s.crc_intact && ((pid == cat_pid && s.table_id == 0x01) || (s.on_pmt_pid && s.table_id == 0x02));
    if (table && changed(pid == cat_pid ? cat_crc_ : pmt_crc_[pid], bytes)) {
        // A new PMT may change what the PIDs are while the window's packets wait.
        if (s.table_id == 0x02) window.pmt_changed = true;
        s.size = static_cast<std::uint16_t>(bytes.size());
        window.section_bytes.insert(window.section_bytes.end(), bytes.begin(), bytes.end());
    } else if (pid >= nit_pid) {
        s.identity = si_repetition::identity(bytes);
        s.timers_only = s.crc_intact && !s.on_pmt_pid && belongs_on(pid, s.table_id);
    }
    window.sections.push_back(s);
}

void signalling::pat_or_pmt_packet(const event_place& at, bool scrambled, event_log& events) {
    at_ = at;
    if (at.pid == pat_pid) {
        timed_occurrence(pat_packets_, table_interval_ms, {indicator::pat_error}, "PID 0x0000", events);
        if (scrambled)
            for (indicator i : {indicator::pat_error, indicator::pat_error_2})
                events.raise(i, at_, [] { return std::string("PAT packet scrambled"); });
    } else {
        for (indicator i : {indicator::pmt_error, indicator::pmt_error_2})
            events.raise(i, at_, [] { return std::string("PMT packet scrambled"); });
    }
}

void signalling::section(const event_place& at, const read_section& s, std::span<const std::uint8_t> bytes,
                         event_log& events) {
    at_ = at;
    const std::uint8_t table_id = s.table_id;
    const std::uint16_t pid = at.pid;
    if (!s.crc_intact) {
        events.raise(indicator::crc_error, at_, [&] { return "CRC error in " + table_text(table_id, pid); });
        return;
    }
    if (pid == pat_pid) {
        if (table_id == 0x00) {
            timed_occurrence(pat_sections_, table_interval_ms, {indicator::pat_error_2}, "PAT", events);
        } else {
            for (indicator i : {indicator::pat_error, indicator::pat_error_2})
                events.raise(i, at_, [&] { return table_text(table_id, pid); });
        }
    } else if (pid == cat_pid) {
        if (table_id == 0x01)
            cat(bytes);
        else
            events.raise(indicator::cat_error, at_, [&] { return table_text(table_id, pid); });
    } else if (s.on_pmt_pid) {
        if (table_id != 0x02) return;
        const std::string what = "PMT on " + pid_text(pid);
        timed_occurrence(pmt_timers_[pid], table_interval_ms, {indicator::pmt_error, indicator::pmt_error_2},
                         what.c_str(), events);
        pmt(bytes);
    } else {
        si_table(s, events);
    }
}
void signalling::pat(std::span<const std::uint8_t> bytes) {
    if (pat_crc_ == crc_field(bytes) && pat_crc_ != 0) return;
    lib13818::Pat table;
    try {
        table.parse(bytes.data(), bytes.size());
    } catch (const lib13818::error&) {
        return;
    }
    pat_crc_ = crc_field(bytes);
    for (const auto& program : table.programs) {
        if (program.program_number == 0 || program.PID < 0 || program.PID >= ts::pid_count) continue;
        const auto pid = static_cast<std::uint16_t>(program.PID);
        if (first_programme_pmt_pid_ < 0) first_programme_pmt_pid_ = pid;
        pmt_program_[pid] = program.program_number;
        add_assembler(pid);
        std::int64_t ignored = no_time;
        name_pid(pid, static_cast<std::uint16_t>(program.program_number), ignored);
    }
}

bool signalling::changed(std::uint32_t& last_crc, std::span<const std::uint8_t> bytes) {
    const std::uint32_t crc = crc_field(bytes);
    if (crc == last_crc && crc != 0) return false;
    last_crc = crc;
    return true;
}

void signalling::pmt(std::span<const std::uint8_t> bytes) {
    if (first_pmt_ == no_time) first_pmt_ = at_.ticks;
    if (bytes.empty()) return;  // the same as the last one
    lib13818::Pmt table;
    try {
        table.parse(bytes.data(), bytes.size());
    } catch (const lib13818::error&) {
        return;
    }
    const auto service = static_cast<std::uint16_t>(table.table_id_extension);
    if (table.PCR_PID != ts::null_pid) {
        const auto pcr = static_cast<std::uint16_t>(table.PCR_PID);
        pcr_pid_[pcr] = true;
        name_pid(pcr, service, named_by_pmt_[pcr]);
    }
    for (const auto& es : table.streams) {
        const auto es_pid = static_cast<std::uint16_t>(es.elementary_PID);
        kinds_[es_pid] = classify(es);
        name_pid(es_pid, service, named_by_pmt_[es_pid]);
        // A stream the PMT names must come within the timeout of the PMT's first sighting.
        if (timed_kind(kinds_[es_pid]) && at_.ticks != no_time) presence_timers_[es_pid].arm(at_.ticks);
    }
    std::vector<lib13818::DescriptorCA> ca;
    table.collect_CA(ca);
    for (const auto& d : ca) {
        const auto ecm = static_cast<std::uint16_t>(d.CA_PID & (ts::pid_count - 1));
        ecm_pid_[ecm] = true;
        name_pid(ecm, service, named_by_pmt_[ecm]);
    }
}

void signalling::cat(std::span<const std::uint8_t> bytes) {
    cat_seen_ = true;
    if (bytes.empty()) return;  // the same as the last one
    lib13818::Cat table;
    try {
        table.parse(bytes.data(), bytes.size());
    } catch (const lib13818::error&) {
        return;
    }
    for (const auto& d : table.CA_descriptors) {
        const auto emm = static_cast<std::uint16_t>(d.CA_PID & (ts::pid_count - 1));
        emm_pid_[emm] = true;
        if (named_by_cat_[emm] == no_time) named_by_cat_[emm] = std::max<std::int64_t>(at_.ticks, 0);
    }
}

void signalling::name_pid(std::uint16_t pid, std::uint16_t service, std::int64_t& first_named) {
    // A PID named before the time base began counts as named at the start.
    if (first_named == no_time) first_named = std::max<std::int64_t>(at_.ticks, 0);
    auto& list = services_[pid];
    if (std::find(list.begin(), list.end(), service) == list.end()) list.push_back(service);
}

void signalling::presence(const event_place& at, stream_kind kind, event_log& events) {
    if (const auto gap = presence_timers_[at.pid].occur(at.ticks, ms_ticks(limits_.pid_timeout_ms)))
        events.raise(indicator::pid_error, at, [&] {
            return pid_text(at.pid) + " (" + kind_name(kind) + ") absent for " + seconds_text(*gap);
        });
}

void signalling::too_close(std::int64_t& last, indicator which, const char* what, event_log& events) {
    if (at_.ticks == no_time) return;
    const std::int64_t gap = at_.ticks - last;
    const bool close = last != no_time && gap < ms_ticks(closest_sections_ms);
    last = at_.ticks;
    if (close)
        events.raise(which, at_,
                     [&] { return std::string("two ") + what + " copies " + seconds_text(gap) + " apart"; });
}

void signalling::si_table(const read_section& s, event_log& events) {
    const std::uint16_t pid = at_.pid;
    const std::uint8_t table_id = s.table_id;
    if (!belongs_on(pid, table_id)) {
        const auto wrong_table = [&](std::initializer_list<indicator> which) {
            for (indicator i : which)
                events.raise(i, at_, [&] { return table_text(table_id, pid); });
        };
        if (pid == nit_pid) wrong_table({indicator::nit_error, indicator::nit_actual_error});
        if (pid == sdt_pid) wrong_table({indicator::sdt_error, indicator::sdt_actual_error});
        if (pid == eit_pid) wrong_table({indicator::eit_error, indicator::eit_actual_error});
        if (pid == rst_pid) wrong_table({indicator::rst_error});
        if (pid == tdt_pid) wrong_table({indicator::tdt_error});
        return;
    }
    const auto timed = [&](gap_timer& timer, std::int64_t limit_ms, std::initializer_list<indicator> which,
                           const char* what) {
        // An untimed copy neither ends a gap nor follows another.
        if (at_.ticks == no_time) return;
        repetition_.occur(s, at_, events);
        timed_occurrence(timer, limit_ms, which, what, events);
    };
    switch (pid) {
        case nit_pid:
            if (table_id == 0x40) {
                if (s.long_form)
                    too_close(nit_actual_sections_[s.section_number], indicator::nit_actual_error,
                              "NIT actual section", events);
                timed(nit_actual_, 10'000, {indicator::nit_error, indicator::nit_actual_error}, "NIT actual");
            } else if (table_id == 0x41) {
                repetition_.occur(s, at_, events);
            }
            break;
        case sdt_pid:
            if (table_id == 0x42)
                timed(sdt_actual_, 2'000, {indicator::sdt_error, indicator::sdt_actual_error}, "SDT actual");
            else if (table_id == 0x46)
                timed(sdt_other_, 10'000, {indicator::sdt_other_error}, "SDT other");
            else if (table_id == 0x4A)
                repetition_.occur(s, at_, events);
            break;
        case eit_pid:
            if (table_id == 0x4E && s.long_form && s.section_number < 2) {
                const char* what = s.section_number == 0 ? "EIT present" : "EIT following";
                timed(eit_present_following_[s.section_number], 2'000,
                      {indicator::eit_error, indicator::eit_actual_error}, what);
            } else if (table_id == 0x4F) {
                timed(eit_other_, 10'000, {indicator::eit_other_error}, "EIT present/following other");
            } else if (table_id != stuffing_table) {
                repetition_.occur(s, at_, events);
            }
            break;
        case rst_pid:
            if (table_id == 0x71) too_close(rst_, indicator::rst_error, "RST", events);
            break;
        case tdt_pid:
            if (table_id == 0x70)
                timed(tdt_, 30'000, {indicator::tdt_error}, "TDT");
            else if (table_id == 0x73)
                repetition_.occur(s, at_, events);
            break;
        default:
            break;
    }
}

void signalling::finish(const event_place& last, std::span<const std::uint64_t> pid_packets,
                        event_log& events) {
    const auto open_gap = [&](const gap_timer& timer, std::int64_t limit_ms, std::uint16_t pid,
                              std::initializer_list<indicator> which, const std::string& what) {
        const auto gap = timer.open_gap(last.ticks, ms_ticks(limit_ms));
        if (!gap) return;
        const event_place at{last.packet, pid_packets[pid], last.ticks, pid};
        for (indicator i : which)
            events.raise(
                i, at, [&] { return what + " absent for " + seconds_text(*gap) + " until the end"; }, false);
    };
    open_gap(pat_packets_, table_interval_ms, pat_pid, {indicator::pat_error}, "PID 0x0000");
    open_gap(pat_sections_, table_interval_ms, pat_pid, {indicator::pat_error_2}, "PAT");
    for (std::uint16_t pid = 0; pid < ts::pid_count; ++pid) {
        if (is_pmt_pid(pid))
            open_gap(pmt_timers_[pid], table_interval_ms, pid, {indicator::pmt_error, indicator::pmt_error_2},
                     "PMT on " + pid_text(pid));
        if (timed_kind(kinds_[pid]))
            open_gap(presence_timers_[pid], limits_.pid_timeout_ms, pid, {indicator::pid_error},
                     pid_text(pid) + " (" + kind_name(kinds_[pid]) + ")");
    }
    open_gap(nit_actual_, 10'000, nit_pid, {indicator::nit_error, indicator::nit_actual_error}, "NIT actual");
    open_gap(sdt_actual_, 2'000, sdt_pid, {indicator::sdt_error, indicator::sdt_actual_error}, "SDT actual");
    open_gap(eit_present_following_[0], 2'000, eit_pid, {indicator::eit_error, indicator::eit_actual_error},
             "EIT present");
    open_gap(eit_present_following_[1], 2'000, eit_pid, {indicator::eit_error, indicator::eit_actual_error},
             "EIT following");
    open_gap(sdt_other_, 10'000, sdt_pid, {indicator::sdt_other_error}, "SDT other");
    open_gap(eit_other_, 10'000, eit_pid, {indicator::eit_other_error}, "EIT present/following other");
    open_gap(tdt_, 30'000, tdt_pid, {indicator::tdt_error}, "TDT");
    repetition_.finish(last, pid_packets, events);
    // Present and following come as a pair: one without the other is a fault of its own.
    if (eit_present_following_[0].armed() != eit_present_following_[1].armed()) {
        const event_place at{last.packet, pid_packets[eit_pid], last.ticks, eit_pid};
        const bool present = eit_present_following_[0].armed();
        events.raise(indicator::eit_pf_error, at, [&] {
            return std::string("EIT actual ") +
                   (present ? "present without following" : "following without present");
        });
    }
}

}  // namespace kestrel::analysis
