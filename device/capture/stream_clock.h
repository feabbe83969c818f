#pragma once

#include <cstdint>
#include <optional>

namespace kestrel {

// The clock of a replayed capture, in 27 MHz ticks, driven by the packets played.
//
// It follows the PCRs of one PID (the first that carries them) and moves on between them
// at the rate the last PCR interval showed, so that it rises with every packet. Where the
// PCRs do not continue each other (the capture loops or changes, a discontinuity, a jump
// back or of more than a second) the clock bridges the gap at that rate and picks the PCRs
// up again: it never goes back. Wraps of the 33-bit PCR count as the step they are.
// Without PCRs it runs at 8 Mbit/s.
class stream_clock {
  public:
    static constexpr std::uint64_t hz = 27'000'000;
    static constexpr std::uint64_t ticks_per_ms = hz / 1000;

    stream_clock();

    // One packet played: pcr when it carries the clock's reference, and whether its
    // adaptation field announced a discontinuity.
    void packet(std::optional<std::uint64_t> pcr = std::nullopt, bool discontinuity = false);
    // The capture starts again from its beginning: the next PCR does not follow the last.
    void restart() { last_pcr_.reset(); }
    // Another capture plays from now on: its rate is not known yet either.
    void change_capture();

    std::uint64_t ticks() const { return anchor_ + packets_since_ * ticks_per_packet_; }

  private:
    std::uint64_t anchor_ = 0;         // the clock at the last PCR
    std::uint64_t packets_since_ = 0;  // packets played since
    std::uint64_t ticks_per_packet_;   // the rate
    std::optional<std::uint64_t> last_pcr_;
};

}  // namespace kestrel
