// The capture card's delivery thread: plays the locked capture to the filters.

#include <algorithm>

#include "device/capture/capture_card.h"
#include "device/capture/section_match.h"
#include "log/event_log.h"
#include "ts/packet.h"

namespace kestrel {

namespace {
// Filters and tuning are looked at again after every stretch of this many capture bytes.
constexpr std::size_t step_bytes = 16 * 1024;
}  // namespace

void capture_card::deliver_loop() {
    for (;;) {
        bool look_again = false;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] {
                // After the end of pass nothing new can arrive until a filter is started.
                return stopping_ || changes_.load() != state_.seen_changes || alarm_due() ||
                       (released_ > 0 && locked_ >= 0 && !state_.pass_reported && !alarm_hold_);
            });
            if (stopping_) return;
            look_again = changes_.load() != state_.seen_changes;
            state_.seen_changes = changes_.load();
        }
        fire_alarm_if_due();
        if (look_again) take_changes();
        {
            std::lock_guard lock(mutex_);
            if (alarm_hold_) continue;
        }
        const bool wanted = !routed_pids_.empty() || !whole_stream_.empty();
        if (!wanted || state_.playing < 0) {
            state_.anchored = false;
            // Nothing is received: nothing can arrive for the filters.
            if (wanted && !state_.pass_reported) report_end_of_pass();
            continue;
        }
        if (state_.pass_reported) continue;
        play_step();
        if (realtime_) pace();
    }
}

void capture_card::take_changes() {
    // The released filters and the tuning as one look, under the lock that start_filter
    // holds to register and hold a filter: a held filter is never delivered to, and a
    // filter never meets a tuning older than itself.
    std::vector<filter_registry::entry> filters;
    std::uint64_t starts = 0;
    int locked = -1;
    {
        std::lock_guard lock(mutex_);
        filters = registry_.snapshot();
        std::erase_if(filters, [&](const filter_registry::entry& e) {
            return std::find(held_.begin(), held_.end(), e.id) != held_.end();
        });
        starts = released_starts_;
        locked = locked_;
    }
    // A release begins a new pass, for the filters it let go together.
    if (starts != state_.pass_starts) {
        state_.pass_starts = starts;
        state_.pass_bytes = 0;
        state_.pass_loops = 0;
        state_.pass_reported = false;
    }
    if (locked != state_.playing) {
        if (locked >= 0)
            event_log(3, "capture card plays %s",
                      captures_[static_cast<std::size_t>(locked)]->path().c_str());
        state_.playing = locked;
        state_.pass_bytes = 0;
        state_.pass_loops = 0;
        state_.pass_reported = false;
        state_.anchored = false;
        clock_.change_capture();
        for (const auto& route : routes_)
            if (route) route->assembler.reset();
    }
    const std::vector<std::uint16_t> previous = std::move(routed_pids_);
    routed_pids_.clear();
    whole_stream_.clear();
    for (const std::uint16_t pid : previous) {
        routes_[pid]->sections.clear();
        routes_[pid]->packets.clear();
    }
    for (const filter_registry::entry& e : filters) {
        if (e.filter.pid == whole_stream_pid) {
            whole_stream_.push_back(e.id);
            continue;
        }
        auto& route = routes_[e.filter.pid];
        if (!route) route = std::make_unique<pid_route>();
        if (route->sections.empty() && route->packets.empty()) {
            // A PID not played until now may hold half a section from long ago.
            if (!route->wanted) route->assembler.reset();
            routed_pids_.push_back(e.filter.pid);
        }
        if (e.filter.type == card_filter_type::sections)
            route->sections.push_back(e);
        else
            route->packets.push_back(e.id);
    }
    for (const std::uint16_t pid : previous)
        routes_[pid]->wanted = false;
    for (const std::uint16_t pid : routed_pids_)
        routes_[pid]->wanted = true;
}

void capture_card::play_step() {
    capture_playback& capture = *captures_[static_cast<std::size_t>(state_.playing)];
    // A pass ends on the packet it began with, so that no packet of it comes twice.
    const std::uint64_t left = capture.size() > state_.pass_bytes ? capture.size() - state_.pass_bytes : 0;
    const std::size_t stretch =
        static_cast<std::size_t>(std::min<std::uint64_t>(step_bytes, std::max<std::uint64_t>(left, 1)));
    const capture_playback::step step =
        capture.play(stretch, [this](const std::uint8_t* p) { return on_packet(p); });
    deliver_whole_stream();
    state_.pass_bytes += step.bytes;
    if (step.looped) {
        ++state_.pass_loops;
        clock_.restart();
        for (const std::uint16_t pid : routed_pids_)
            routes_[pid]->assembler.reset();
    }
    // Two loops: the capture shrank under us, but it has surely been played whole.
    if (!state_.pass_reported && (state_.pass_bytes >= capture.size() || state_.pass_loops >= 2))
        report_end_of_pass();
}

bool capture_card::on_packet(const std::uint8_t* p) {
    const std::uint16_t pid = ts::packet_pid(p);
    std::optional<std::uint64_t> pcr;
    bool discontinuity = false;
    std::uint16_t& reference = reference_pids_[static_cast<std::size_t>(state_.playing)];
    // A look at the adaptation field only where it may carry the clock's PCR.
    const bool has_adaptation = (p[3] & 0x20) != 0 && p[4] > 0;
    if (has_adaptation && (reference == pid || reference == no_reference_pid)) {
        const ts::packet parsed = ts::parse_packet(p);
        if (parsed.adaptation.pcr && reference == no_reference_pid) reference = pid;
        if (reference == pid) {
            pcr = parsed.adaptation.pcr;
            discontinuity = parsed.adaptation.discontinuity_indicator;
        }
    }
    if (!whole_stream_.empty()) whole_chunk_.insert(whole_chunk_.end(), p, p + ts::packet_size);
    if (pid_route* route = routes_[pid].get(); route != nullptr && route->wanted) {
        for (const card_filter_id id : route->packets)
            registry_.deliver(id, p, static_cast<std::int32_t>(ts::packet_size));
        if (!route->sections.empty()) {
            const auto sink = [&](std::uint16_t, std::span<const std::uint8_t> s) { on_section(*route, s); };
            route->assembler.push(ts::parse_packet(p), sink);
        }
    }
    clock_.packet(pcr, discontinuity);
    played_ticks_.store(clock_.ticks(), std::memory_order_relaxed);
    if (alarm_ms_.load(std::memory_order_relaxed) == 0 || !alarm_due()) return true;
    // The packets up to the deadline reach their filters before the time-out's routine acts.
    deliver_whole_stream();
    return !fire_alarm_if_due();
}

void capture_card::deliver_whole_stream() {
    if (whole_chunk_.empty()) return;
    for (const card_filter_id id : whole_stream_)
        registry_.deliver(id, whole_chunk_.data(), static_cast<std::int32_t>(whole_chunk_.size()));
    whole_chunk_.clear();
}

void capture_card::on_section(const pid_route& route, std::span<const std::uint8_t> section) {
    for (const filter_registry::entry& e : route.sections)
        if (section_matches(e.filter, section))
            registry_.deliver(e.id, section.data(), static_cast<std::int32_t>(section.size()));
}

void capture_card::report_end_of_pass() {
    // A filter started meanwhile is not in the pass's count: the listener knows the report
    // is not about it, and this card begins a new pass for it at its next look.
    state_.pass_reported = true;
    event_log(3, "capture card: end of pass");
    if (card_listener* listener = listener_.load()) listener->end_of_pass(state_.pass_starts);
}

void capture_card::pace() {
    const std::uint64_t ticks = clock_.ticks();
    if (!state_.anchored) {
        state_.anchored = true;
        state_.anchor_wall = std::chrono::steady_clock::now();
        state_.anchor_ticks = ticks;
        return;
    }
    const auto due = state_.anchor_wall + std::chrono::nanoseconds((ticks - state_.anchor_ticks) * 1000 / 27);
    std::unique_lock lock(mutex_);
    wake_.wait_until(lock, due, [&] { return stopping_ || changes_.load() != state_.seen_changes; });
}

}  // namespace kestrel
