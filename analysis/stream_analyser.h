#pragma once

// The stream analysis engine: fed the packets of one transport stream in order, one pass, it
// measures the TR 101 290 indicators and counts packets, errors and PCRs per PID and per time
// bin. Memory grows with the PIDs, the time bins and the kept errors, never with the number of
// packets: per-PID state lives in arrays indexed by PID, and checking a packet allocates
// nothing. No threads: the caller feeds it from wherever the packets come from. A copy is a
// snapshot that can be finished on its own.
//
// Each packet is read as it comes (continuity, sections, what it carries); what needs its
// time waits in a packet_window (two bytes per packet, more for the few with findings) until
// the clock can time it, and is then replayed.

#include <array>
#include <cstdint>
#include <optional>

#include "analysis/bin_counter.h"
#include "analysis/continuity.h"
#include "analysis/event_log.h"
#include "analysis/gap_timer.h"
#include "analysis/packet_clock.h"
#include "analysis/packet_window.h"
#include "analysis/pcr_accuracy.h"
#include "analysis/pid_table.h"
#include "analysis/report.h"
#include "analysis/signalling.h"
#include "analysis/thresholds.h"
#include "ts/packet.h"
#include "ts/packet_scanner.h"

namespace kestrel::analysis {

struct analysis_options {
    thresholds limits;
    std::optional<std::uint64_t> bitrate_bps;  // time the packets by position at this rate
    bool stamped = false;                      // 192-byte units: time them by their arrival stamps
    std::optional<std::uint32_t> seconds;      // only the packets of the stream's first seconds
};

// What the packet scanner counted over the whole capture.
struct scan_totals {
    std::uint64_t sync_losses = 0;
    std::uint64_t skipped_bytes = 0;
    std::uint64_t truncated_bytes = 0;
};

class stream_analyser {
  public:
    explicit stream_analyser(const analysis_options& options);

    // The next packet of the stream, as the hysteresis scanner hands it over.
    void push(const ts::scanned_packet& p) {
        if (complete()) return;
        read_packet(p);
        if (clock_.observe(p, intact(p)) || window_.full()) release();
    }
    // The next packets, a run the hysteresis scanner found in sync with right sync bytes: the
    // usual ones (see read_usual) are read together, a faster way to the same result.
    void push_run(const ts::packet_run& run, const ts::packet_format& format);
    // True once a packet past options.seconds came: the rest of the stream is not needed.
    bool complete() const { return cut_ticks_ != no_time; }
    // Ends the stream (the input ended or was stopped) and reports on what was read.
    analysis_report finish(const scan_totals& totals);

  private:
    struct pid_state {
        std::uint64_t scrambled = 0;
        std::uint64_t cc_errors = 0;
        std::uint64_t lost_packets = 0;
        std::uint64_t first_packet = 0;
        std::int64_t first_ticks = no_time;
        std::uint64_t pcr_count = 0;
        std::uint64_t pcr_gaps = 0;  // timed intervals between PCRs
        std::int64_t first_pcr_ticks = no_time;
        std::int64_t last_pcr_ticks = no_time;
        std::int64_t pcr_gap_min = 0;
        std::int64_t pcr_gap_max = 0;
        std::optional<std::uint64_t> last_pcr;
        pcr_accuracy accuracy;
        gap_timer pts;
    };

    static bool intact(const ts::scanned_packet& p) { return !p.wrong_sync_byte && !p.sync_regained; }
    // The checks that need no time, as the packets come: they leave their findings in window_.
    // Most packets are payload of a PID already present in the window, in order, read here at
    // once in a tight loop: the usual ones. Reads packets from p on (`stride` bytes apart, at
    // most `count`, all of them intact) while they are usual and the window has room; returns
    // how many it read.
    std::size_t read_usual(const std::uint8_t* p, std::size_t count, std::size_t stride);
    // All that makes a packet usual but its counter: payload only, no flags, a PID that carries
    // no sections and was present before in the window (its first packet there is unusual).
    bool may_be_usual(const std::uint8_t* p) const {
        const std::uint16_t pid = ts::packet_pid(p);
        return (p[1] & 0xC0) == 0 && (p[3] & 0xF0) == 0x10 && window_.pids[pid].first_present != 0 &&
               !signalling_.carries_sections(pid);
    }
    // A packet of a PID that carries sections, payload only, in order, neither scrambled nor
    // in error, its PID present before in the window: read with only the checks such a packet
    // needs (false, nothing read, for any other packet).
    bool read_plain_section_packet(const std::uint8_t* p);
    // The checks of any packet that need no time.
    void read_packet(const ts::scanned_packet& scanned);
    // Reads the sections of a packet of a PID that carries them; returns its marks.
    std::uint16_t read_sections(const ts::packet& packet, std::uint32_t index, bool scrambled);
    // Times the packets in window_ and replays them: by their PIDs' sums where nothing needs
    // a packet's own time, else one by one.
    void release();
    bool replays_by_sums(std::uint64_t last) const;
    void replay_sums(std::uint64_t last);
    void replay_each();
    // Where the replay stands in the window's PCRs, sections and section bytes.
    struct replay_cursor {
        std::size_t pcr = 0;
        std::size_t section = 0;
        std::size_t bytes = 0;
    };
    // The checks of a marked packet that need its time.
    void replay_marked(const marked_packet& m, const event_place& at, replay_cursor& cursor);
    void replay_sections(std::uint16_t index, const event_place& at, replay_cursor& cursor);
    void count_continuity_error(pid_state& s, const marked_packet& m, const event_place& at);
    void check_pcr(pid_state& s, const packet_pcr& pcr, const event_place& at);
    void check_pts(pid_state& s, const event_place& at);
    void finish_unreferenced();
    // The estimated count of inaccurate PCRs; nothing unless the stream has a constant rate.
    std::optional<std::uint64_t> inaccurate_pcrs() const;
    pid_report summary(std::uint16_t pid, std::optional<std::int64_t> duration) const;
    void fill_bins(analysis_report& report, std::int64_t duration) const;

    analysis_options options_;
    event_log events_;
    signalling signalling_;
    packet_clock clock_;
    packet_window window_;
    bin_counter bins_;
    std::array<continuity_state, ts::pid_count> continuity_{};
    pid_table<pid_state> pids_;
    std::array<std::uint64_t, ts::pid_count> pid_packets_{};
    std::uint64_t packets_ = 0;
    std::uint64_t sync_regains_ = 0;
    std::int64_t limit_ticks_ = no_time;
    std::int64_t cut_ticks_ = no_time;  // the time of the first packet past the limit
    event_place last_;
    std::optional<event_place> first_scrambled_;
    bool scrambled_seen_ = false;  // read: a scrambled packet came
};

}  // namespace kestrel::analysis
