#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "analysis/event_log.h"
#include "analysis/gap_timer.h"
#include "analysis/intact_sections.h"
#include "analysis/packet_window.h"
#include "analysis/pid_table.h"
#include "analysis/si_repetition.h"
#include "analysis/thresholds.h"
#include "ts/packet.h"
#include "ts/section_assembler.h"

namespace kestrel::analysis {

// What a PMT says an elementary stream is.
enum class stream_kind : std::uint8_t { none, video, audio, subtitles, teletext, data };

// The section assemblers of the PIDs that carry sections. Each keeps its address while others
// are added (a PAT read during one assembler's delivery adds those of its PMT PIDs), and a
// copy of the set copies the assemblers.
class assembler_set {
  public:
    assembler_set() = default;
    assembler_set(const assembler_set& other) { *this = other; }
    assembler_set& operator=(const assembler_set& other) {
        if (this == &other) return *this;
        all_.clear();
        for (const auto& a : other.all_)
            all_.push_back(std::make_unique<ts::section_assembler>(*a));
        return *this;
    }
    assembler_set(assembler_set&&) = default;
    assembler_set& operator=(assembler_set&&) = default;

    void add() { all_.push_back(std::make_unique<ts::section_assembler>()); }
    std::size_t size() const { return all_.size(); }
    ts::section_assembler& operator[](std::size_t i) { return *all_[i]; }

  private:
    std::vector<std::unique_ptr<ts::section_assembler>> all_;
};

// The signalling checks: the sections of PIDs 0x00, 0x01, 0x10-0x14 and of the PMT PIDs the
// PATs name, assembled and CRC-checked, and what the PAT, the PMTs and the CAT say about the
// other PIDs (their kind, services, the PCR, ECM and EMM PIDs, when they were first named).
//
// It works in two steps, as the analyser does: `read` assembles the sections of a packet as
// it comes and learns the PMT PIDs from the PATs at once (which PIDs carry sections must be
// known for the next packet); the rest, which needs the packets' times, runs when the
// analyser replays the packet with its time (packet_timers, section, elementary_packet).
class signalling {
  public:
    explicit signalling(const thresholds& limits);

    // Whether the PID's packets go through read.
    bool carries_sections(std::uint16_t pid) const { return assembler_of_[pid] != 0; }
    // A packet of such a PID (without transport errors), `index` in `window`: its complete
    // sections go there.
    void read(const ts::packet& packet, std::uint16_t index, packet_window& window);

    // The packet of a section PID at `at`, replayed: the PAT's timer, scrambling of the PAT
    // and PMTs (`pmt_pid`: its PID carried PMTs when it came). Other packets have nothing to check.
    void packet_timers(const event_place& at, bool scrambled, bool pmt_pid, event_log& events) {
        if (at.pid == 0x0000 || (scrambled && pmt_pid)) pat_or_pmt_packet(at, scrambled, events);
    }
    // A section the replayed packet completed, with its bytes where a table is decoded.
    void section(const event_place& at, const read_section& s, std::span<const std::uint8_t> bytes,
                 event_log& events);
    // A packet of any PID: one of a video or audio stream a PMT named restarts its 1.6 timer
    // (gone for longer than the timeout).
    void elementary_packet(const event_place& at, event_log& events) {
        const stream_kind kind = kinds_[at.pid];
        if (kind == stream_kind::video || kind == stream_kind::audio) presence(at, kind, events);
    }
    // The absences still open when the capture ends, as events at the last packet (`last`),
    // each on its own PID with that PID's packet count.
    void finish(const event_place& last, std::span<const std::uint64_t> pid_packets, event_log& events);

    stream_kind kind(std::uint16_t pid) const { return kinds_[pid]; }
    bool is_pmt_pid(std::uint16_t pid) const { return pmt_program_[pid] >= 0; }
    bool is_pcr_pid(std::uint16_t pid) const { return pcr_pid_[pid]; }
    bool is_ecm_pid(std::uint16_t pid) const { return ecm_pid_[pid]; }
    bool is_emm_pid(std::uint16_t pid) const { return emm_pid_[pid]; }
    bool cat_seen() const { return cat_seen_; }
    // The services whose PMT names the PID (as elementary stream, PCR or ECM PID, or the PMT's own).
    const std::vector<std::uint16_t>& services(std::uint16_t pid) const { return services_[pid]; }
    // When a PMT (or, for the second, a PMT or the CAT) first named the PID; no_time if never.
    std::int64_t named_by_pmt(std::uint16_t pid) const { return named_by_pmt_[pid]; }
    std::int64_t named_by_pmt_or_cat(std::uint16_t pid) const;
    // The PCR PID of the first programme of the PAT, as soon as its PMT is read; -1 before.
    int reference_pcr_pid() const { return reference_pcr_pid_; }
    // When the first PMT came; no_time if none did.
    std::int64_t first_pmt() const { return first_pmt_; }

  private:
    void keep_section(std::uint16_t pid, std::span<const std::uint8_t> bytes, std::uint16_t index,
                      packet_window& window);
    void presence(const event_place& at, stream_kind kind, event_log& events);
    void pat_or_pmt_packet(const event_place& at, bool scrambled, event_log& events);
    // Whether the section's CRC differs from `last_crc`, which then takes it.
    static bool changed(std::uint32_t& last_crc, std::span<const std::uint8_t> bytes);
    void pat(std::span<const std::uint8_t> bytes);
    void pmt(std::span<const std::uint8_t> bytes);
    void cat(std::span<const std::uint8_t> bytes);
    void si_table(const read_section& s, event_log& events);
    void add_assembler(std::uint16_t pid);
    void name_pid(std::uint16_t pid, std::uint16_t service, std::int64_t& first_named);
    // Raises `which` when the gap the occurrence ends is longer than limit_ms.
    void timed_occurrence(gap_timer& timer, std::int64_t limit_ms, std::initializer_list<indicator> which,
                          const char* what, event_log& events);
    // Raises `which` when the section follows the previous copy (whose time `last` holds, and
    // then takes this one's) within 25 ms.
    void too_close(std::int64_t& last, indicator which, const char* what, event_log& events);

    thresholds limits_;
    event_place at_;  // the packet whose sections are being checked

    // 1 + index into assemblers_, 0 for none. At most 255 PIDs carry sections (the seven fixed
    // ones and the PMT PIDs of 248 programmes), which bounds the assemblers' memory.
    std::array<std::uint8_t, ts::pid_count> assembler_of_{};
    assembler_set assemblers_;
    intact_sections intact_;

    std::array<std::int32_t, ts::pid_count> pmt_program_;  // program_number of a PMT PID, else -1
    std::array<std::uint32_t, ts::pid_count> pmt_crc_{};   // of the PMT section last read
    std::uint32_t cat_crc_ = 0;
    std::array<stream_kind, ts::pid_count> kinds_{};
    std::array<bool, ts::pid_count> pcr_pid_{};
    std::array<bool, ts::pid_count> ecm_pid_{};
    std::array<bool, ts::pid_count> emm_pid_{};
    pid_table<std::vector<std::uint16_t>> services_;
    std::array<std::int64_t, ts::pid_count> named_by_pmt_;
    std::array<std::int64_t, ts::pid_count> named_by_cat_;
    std::array<gap_timer, ts::pid_count> pmt_timers_{};       // 1.5: PMT sections per PMT PID
    std::array<gap_timer, ts::pid_count> presence_timers_{};  // 1.6: video and audio PIDs
    gap_timer pat_packets_;                                   // 1.3
    gap_timer pat_sections_;                                  // 1.3.a
    std::uint32_t pat_crc_ = 0;
    int first_programme_pmt_pid_ = -1;
    int reference_pcr_pid_ = -1;
    std::int64_t first_pmt_ = no_time;
    bool cat_seen_ = false;

    // The SI tables whose absence counts (priority 3).
    gap_timer nit_actual_;
    std::array<std::int64_t, 256> nit_actual_sections_;  // by section_number
    gap_timer sdt_actual_;
    gap_timer sdt_other_;
    std::array<gap_timer, 2> eit_present_following_;
    gap_timer eit_other_;
    gap_timer tdt_;
    std::int64_t rst_ = no_time;
    si_repetition repetition_;
};

}  // namespace kestrel::analysis
