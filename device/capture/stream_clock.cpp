#include "device/capture/stream_clock.h"

#include <algorithm>

#include "ts/packet.h"

namespace kestrel {

namespace {

constexpr std::uint64_t nominal_bitrate = 8'000'000;
constexpr std::uint64_t nominal_ticks_per_packet = ts::packet_size * 8 * stream_clock::hz / nominal_bitrate;
// PCRs further apart than this do not continue each other (at most 100 ms is the rule).
constexpr std::uint64_t max_pcr_step = stream_clock::hz;

}  // namespace

stream_clock::stream_clock() : ticks_per_packet_(nominal_ticks_per_packet) {}

void stream_clock::packet(std::optional<std::uint64_t> pcr, bool discontinuity) {
    ++packets_since_;
    // The PCRs after a discontinuity belong to a new time base.
    if (discontinuity) last_pcr_.reset();
    if (!pcr) return;
    const std::uint64_t now = ticks();
    if (last_pcr_) {
        const std::uint64_t step = (*pcr + ts::pcr_modulus - *last_pcr_) % ts::pcr_modulus;
        if (step > 0 && step <= max_pcr_step) {
            ticks_per_packet_ = std::max<std::uint64_t>(1, step / packets_since_);
            // The rate of the interval before may have carried the clock past this PCR.
            anchor_ = std::max(anchor_ + step, now);
            packets_since_ = 0;
            last_pcr_ = pcr;
            return;
        }
    }
    // Nothing to follow on from: bridge at the rate known so far.
    anchor_ = now;
    packets_since_ = 0;
    last_pcr_ = pcr;
}

void stream_clock::change_capture() {
    restart();
    anchor_ = ticks();
    packets_since_ = 0;
    ticks_per_packet_ = nominal_ticks_per_packet;
}

}  // namespace kestrel
