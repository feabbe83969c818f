#pragma once

#include <cstdint>

namespace kestrel::analysis {

// An estimate of the PCR accuracy of one PID (+/-500 ns) from a capture, which has no arrival
// times: in a constant-rate stream each PCR should equal the last accurate one plus the
// packets between at the stream's rate (the mean of the PCR pairs so far). It holds only when
// every pair's rate lies within 0.5 % of the mean, which constant_rate() tells at the end.
class pcr_accuracy {
  public:
    // A PCR of the PID, in the `packet`-th packet of the stream.
    void pcr(std::uint64_t packet, std::uint64_t value, bool discontinuity);

    // Enough pairs, all within 0.5 % of their mean rate.
    bool constant_rate() const;
    std::uint64_t inaccurate() const { return inaccurate_; }
    bool seen() const { return pairs_ > 0; }

  private:
    bool have_last_ = false;
    std::uint64_t last_packet_ = 0;
    std::uint64_t last_value_ = 0;
    // The last PCR that was found accurate: the next ones are measured from it.
    std::uint64_t base_packet_ = 0;
    std::uint64_t base_value_ = 0;
    std::uint64_t pairs_ = 0;
    std::int64_t pair_ticks_ = 0;
    std::uint64_t pair_packets_ = 0;
    double min_rate_ = 0;  // ticks per packet
    double max_rate_ = 0;
    std::uint64_t inaccurate_ = 0;
};

}  // namespace kestrel::analysis
