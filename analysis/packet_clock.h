#pragma once

// The time of each packet of a capture, in 27 MHz ticks from the start of the first packet.
//
// A capture carries no arrival times (except M2TS stamps), so a packet's time comes from the
// PCRs of a reference PID (the PCR PID of the first programme of the PAT once its PMT has
// come, until then the first PID that carries PCRs): between two PCRs it is
// interpolated by packet position, which is exact for a variable-rate multiplex; before the
// first and after the last it is extrapolated at the rate of the nearest pair. A PCR step
// outside 0-100 ms or a discontinuity_indicator starts the interpolation again from the time
// the previous rate gives, so time never runs backwards.
//
// A packet's time is known only once the next PCR has come. The clock sees every packet as it
// comes (observe) and says when the packets since the last release can be timed; the caller
// keeps what it needs of them meanwhile and then asks for their times (time_of). A caller
// that cannot wait longer releases anyway: the packets are then extrapolated, or untimed
// before the first PCR pair.
//
// Other time bases: M2TS arrival stamps (192-byte units), and a rate the user gives; both
// time each packet as it comes, so every packet is released at once.

#include <algorithm>
#include <cstdint>
#include <optional>

#include "analysis/report.h"
#include "ts/packet.h"
#include "ts/packet_scanner.h"

namespace kestrel::analysis {

inline constexpr std::int64_t ticks_per_second = 27'000'000;
inline constexpr std::int64_t no_time = -1;

class packet_clock {
  public:
    // With a rate (bits per second) the packets are timed by position; else by the arrival
    // stamps of 192-byte units (`stamped`), else by PCRs.
    packet_clock(bool stamped, std::optional<std::uint64_t> bitrate_bps);

    // Takes the next packet (`intact`: its sync byte was right) and tells whether the
    // packets not yet released, this one included, can be timed now.
    bool observe(const ts::scanned_packet& p, bool intact) {
        if (base_ != time_base::pcr) {
            direct_ticks_ = direct_time(p);
            return true;
        }
        // A PCR needs an adaptation field.
        return intact && (p.bytes[3] & 0x20) != 0 && reference_pcr(p.bytes, p.number);
    }

    // Whether packets wait for the next PCR to be timed (no other time base).
    bool by_pcr() const { return base_ == time_base::pcr; }
    // From now on the PCRs of `pid` time the packets (the PCR PID of the first programme).
    void prefer_reference(std::uint16_t pid);

    // Starts timing the packets released now: time_of gives the time of any of them, never
    // before a time an earlier release gave; released() ends the release at its last packet.
    void release() { per_packet_ = ticks_per_packet(); }
    std::int64_t time_of(std::uint64_t number) const {
        if (base_ != time_base::pcr) return direct_ticks_;
        return per_packet_ > 0 ? std::max(last_ticks_, line_at(number, per_packet_)) : no_time;
    }
    void released(std::uint64_t last_number) {
        last_number_ = last_number;
        any_ = true;
        if (base_ != time_base::pcr || per_packet_ <= 0) return;
        last_ticks_ = time_of(last_number);
        timed_ = true;
    }

    // What timed the packets: none when no packet got a time.
    time_base base() const { return timed_ ? base_ : time_base::none; }
    // The end of the last packet released, once every packet was; nothing without a time base.
    std::optional<std::int64_t> end_ticks() const;

  private:
    // True when the packet carries a PCR of the reference PID that times the waiting packets.
    bool reference_pcr(const std::uint8_t* p, std::uint64_t number);
    // The current line's rate, 0 while there is no line (before the first PCR pair such
    // packets go on untimed).
    double ticks_per_packet() const;
    // The time of a packet on the current line.
    std::int64_t line_at(std::uint64_t number, double per_packet) const {
        const double offset = static_cast<double>(number) - static_cast<double>(line_packet_);
        return line_ticks_ + static_cast<std::int64_t>(offset * per_packet);
    }
    std::int64_t direct_time(const ts::scanned_packet& p);

    time_base base_;
    std::optional<std::uint64_t> bitrate_bps_;
    bool timed_ = false;
    bool any_ = false;
    std::uint64_t last_number_ = 0;
    std::int64_t last_ticks_ = 0;
    std::int64_t direct_ticks_ = no_time;  // the last packet's, for the direct time bases
    double per_packet_ = 0;                // the rate of the packets being released

    // The line the waiting packets are timed on: ticks = line_ticks_ + (n - line_packet_) * rate.
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
