#pragma once

// The time of each packet of a capture, in 27 MHz ticks from the start of the first packet.
//
// A capture carries no arrival times (except M2TS stamps), so a packet's time comes from the
// PCRs of a reference PID (the first PID that carries PCRs): between two PCRs it is
// interpolated by packet position, which is exact for a variable-rate multiplex; before the
// first and after the last it is extrapolated at the rate of the nearest pair. A PCR step
// outside 0-100 ms or a discontinuity_indicator starts the interpolation again from the time
// the previous rate gives, so time never runs backwards. A packet's time is known only once
// the next PCR has come, so the clock holds the packets since the last PCR (at most
// `held_packets`, in a buffer allocated once) and hands them on with their times. A clock
// that holds too many packets hands them on extrapolated, or without a time before the first
// PCR pair.
//
// Other time bases: M2TS arrival stamps (192-byte units), and a rate the user gives; both
// time each packet as it comes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>

#include "analysis/copyable_heap.h"
#include "analysis/report.h"
#include "ts/packet.h"
#include "ts/packet_scanner.h"

namespace kestrel::analysis {

inline constexpr std::int64_t ticks_per_second = 27'000'000;
inline constexpr std::int64_t no_time = -1;

// The scanner's flags of a packet, kept with it while it is held.
enum packet_flags : std::uint8_t { wrong_sync_byte = 1, sync_regained = 2 };

// A packet as the checks see it, with its time (no_time when unknown).
struct timed_packet {
    const std::uint8_t* bytes = nullptr;
    std::uint64_t number = 0;
    std::uint8_t flags = 0;
    std::int64_t ticks = no_time;
};

class packet_clock {
  public:
    static constexpr std::size_t held_packets = 32768;

    // With a rate (bits per second) the packets are timed by position; else by the arrival
    // stamps of 192-byte units (`stamped`), else by PCRs.
    packet_clock(bool stamped, std::optional<std::uint64_t> bitrate_bps);

    // Takes the next packet and hands on each packet whose time is known now, in order.
    template <class Deliver>
    void push(const ts::scanned_packet& p, Deliver&& deliver) {
        const std::uint8_t flags = static_cast<std::uint8_t>((p.wrong_sync_byte ? wrong_sync_byte : 0) |
                                                             (p.sync_regained ? sync_regained : 0));
        last_number_ = p.number;
        any_ = true;
        if (base_ != time_base::pcr) {
            deliver(timed_packet{p.bytes, p.number, flags, direct_time(p)});
            return;
        }
        if (held_ == 0) first_held_ = p.number;
        std::memcpy(&buffer_[held_ * ts::packet_size], p.bytes, ts::packet_size);
        flags_[held_++] = flags;
        if (flags == 0 && reference_pcr(p.bytes, p.number)) release(deliver);
        if (held_ == held_packets) release(deliver);
    }

    // The capture has ended: hands on what is held.
    template <class Deliver>
    void finish(Deliver&& deliver) {
        if (held_ > 0) release(deliver);
    }

    // What timed the packets: none when no packet got a time.
    time_base base() const { return timed_ ? base_ : time_base::none; }
    // The end of the last packet handed on, once finished; nothing without a time base.
    std::optional<std::int64_t> end_ticks() const;

  private:
    template <class Deliver>
    void release(Deliver& deliver) {
        const double per_packet = ticks_per_packet();
        for (std::size_t i = 0; i < held_; ++i) {
            const std::uint64_t number = first_held_ + i;
            const std::int64_t ticks = per_packet > 0 ? line_time(number, per_packet) : no_time;
            deliver(timed_packet{&buffer_[i * ts::packet_size], number, flags_[i], ticks});
        }
        held_ = 0;
    }

    // True when the packet carries a PCR of the reference PID that times the held packets.
    bool reference_pcr(const std::uint8_t* p, std::uint64_t number);
    // The current line's rate, 0 while there is no line (before the first PCR pair such
    // packets go on untimed).
    double ticks_per_packet() const;
    // The time of a held packet on the current line, never before the last one given.
    std::int64_t line_time(std::uint64_t number, double per_packet) {
        const double offset = static_cast<double>(number) - static_cast<double>(line_packet_);
        last_ticks_ = std::max(last_ticks_, line_ticks_ + static_cast<std::int64_t>(offset * per_packet));
        timed_ = true;
        return last_ticks_;
    }
    std::int64_t direct_time(const ts::scanned_packet& p);

    time_base base_;
    std::optional<std::uint64_t> bitrate_bps_;
    bool timed_ = false;
    bool any_ = false;
    std::uint64_t last_number_ = 0;
    std::int64_t last_ticks_ = 0;

    // The line the held packets are timed on: ticks = line_ticks_ + (n - line_packet_) * rate.
    std::uint64_t line_packet_ = 0;
    std::int64_t line_ticks_ = no_time;
    std::int64_t rate_ticks_ = 0;  // over rate_packets_ packets; 0 until a good PCR pair
    std::int64_t rate_packets_ = 1;
    // The last PCR of the reference PID.
    int reference_pid_ = -1;
    bool have_pcr_ = false;
    std::uint64_t pcr_ = 0;
    std::uint64_t pcr_packet_ = 0;
    std::int64_t pcr_ticks_ = no_time;

    // Arrival stamps: the last stamp and the ticks summed since the first.
    std::uint32_t last_stamp_ = 0;

    // Left uninitialised: only the part a stream's PCR interval needs is ever touched.
    copyable_array<std::uint8_t> buffer_;
    copyable_array<std::uint8_t> flags_;
    std::uint64_t first_held_ = 0;
    std::size_t held_ = 0;
};

// The PCR of a packet (27 MHz units) and its discontinuity_indicator, read from the header
// and adaptation field alone; nothing when the packet carries none.
struct packet_pcr {
    std::uint64_t value = 0;
    bool discontinuity = false;
};
std::optional<packet_pcr> read_pcr(const std::uint8_t* p);

// The step from one PCR to the next, negative when the second is earlier (33-bit wrap aware).
std::int64_t pcr_step(std::uint64_t from, std::uint64_t to);

}  // namespace kestrel::analysis
