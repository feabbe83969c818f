// The second step of the analysis: the packets in the window, timed and replayed.

#include "analysis/stream_analyser.h"

namespace kestrel::analysis {

void stream_analyser::release() {
    clock_.release();
    const std::uint64_t last = window_.first + window_.held - 1;
    if (replays_by_sums(last))
        replay_sums(last);
    else
        replay_each();
    clock_.released(last);
    window_.clear();
}

// The sums of the PIDs stand for their packets when nothing in between needs a packet's own
// time: the window lies in one bin, is shorter than the PID timeout (so no gap inside it is
// too long), ends before the time limit, and no new PMT changes what the PIDs are midway.
bool stream_analyser::replays_by_sums(std::uint64_t last) const {
    if (window_.pmt_changed || cut_ticks_ != no_time) return false;
    const std::int64_t start = clock_.time_of(window_.first), end = clock_.time_of(last);
    if (start == no_time) return true;
    if (limit_ticks_ != no_time && end >= limit_ticks_) return false;
    return end - start <= ms_ticks(options_.limits.pid_timeout_ms) && bins_.same_bin(start, end);
}

void stream_analyser::replay_sums(std::uint64_t last) {
    replay_cursor cursor;
    // Untimed at its start, the whole window is: a packet whose sections only feed timers then
    // has nothing to check (and such sections keep no bytes).
    const std::int64_t start = clock_.time_of(window_.first);
    for (const marked_packet& m : window_.marked) {
        if (start == no_time && m.marks == (mark::section_pid | mark::timers_only)) {
            while (cursor.section < window_.sections.size() &&
                   window_.sections[cursor.section].index == m.index)
                ++cursor.section;
            continue;
        }
        const std::uint64_t number = window_.first + m.index;
        const std::uint16_t entry = window_.packets[m.index];
        const auto pid = static_cast<std::uint16_t>(entry & packet_window::pid_bits);
        const std::uint64_t pid_packet =
            (entry & packet_window::uncounted) ? 0 : pid_packets_[pid] + m.pid_packet;
        replay_marked(m, {number, pid_packet, clock_.time_of(number), pid}, cursor);
    }
    if (start != no_time) {
        for (std::uint16_t pid : window_.touched) {
            const packet_window::pid_sums& sums = window_.pids[pid];
            bins_.count(pid, start, sums.count);
            if (sums.first_present == 0) continue;
            // The first packet ends the PID's gap; the last restarts the timer.
            const std::uint64_t first = window_.first + sums.first_present - 1;
            const std::uint64_t final = window_.first + sums.last_present - 1;
            signalling_.elementary_packet({first, sums.first_present_pid_packet, clock_.time_of(first), pid},
                                          events_);
            if (final != first)
                signalling_.elementary_packet({final, 0, clock_.time_of(final), pid}, events_);
        }
    }
    for (std::uint16_t pid : window_.touched) {
        pid_packets_[pid] += window_.pids[pid].count;
        pids_[pid].scrambled += window_.pids[pid].scrambled;
    }
    packets_ += window_.held;
    const auto pid = static_cast<std::uint16_t>(window_.packets[window_.held - 1] & packet_window::pid_bits);
    last_ = {last, 0, clock_.time_of(last), pid};
}

void stream_analyser::replay_each() {
    // The packets are counted one by one, up to the time limit.
    replay_cursor cursor;
    std::size_t next_marked = 0;
    for (std::uint32_t i = 0; i < window_.held; ++i) {
        const std::uint64_t number = window_.first + i;
        const std::int64_t ticks = clock_.time_of(number);
        if (cut_ticks_ != no_time || (limit_ticks_ != no_time && ticks >= limit_ticks_)) {
            if (cut_ticks_ == no_time) cut_ticks_ = ticks;
            return;
        }
        ++packets_;
        const std::uint16_t entry = window_.packets[i];
        const auto pid = static_cast<std::uint16_t>(entry & packet_window::pid_bits);
        event_place at{number, 0, ticks, pid};
        last_ = at;
        if ((entry & packet_window::uncounted) == 0) {
            at.pid_packet = pid_packets_[pid]++;
            if (ticks != no_time) bins_.count(pid, ticks);
            if (entry & packet_window::scrambled) ++pids_[pid].scrambled;
            if ((entry & packet_window::absent) == 0) signalling_.elementary_packet(at, events_);
        }
        if (next_marked < window_.marked.size() && window_.marked[next_marked].index == i)
            replay_marked(window_.marked[next_marked++], at, cursor);
    }
}

}  // namespace kestrel::analysis
