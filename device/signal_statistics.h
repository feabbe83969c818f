#pragma once

// The frontend's signal statistics beyond the level and quality percentages: signal strength
// and carrier to noise ratio in decibels, and the error counters from which bit and block
// error rates follow. Strength and CNR are meaningful only while the frontend is locked (the
// card leaves them empty otherwise); the counters are cumulative and may start again at any
// tuning, so rates come only from the difference of two readings.

#include <cstdint>
#include <optional>
#include <string>

namespace kestrel {

// A cumulative count of errors among a total (bits or blocks).
struct error_count {
    std::uint64_t errors = 0;
    std::uint64_t total = 0;
};

struct signal_statistics {
    std::optional<double> strength_dbm;
    std::optional<double> cnr_db;
    std::optional<error_count> pre_fec_bits;   // before the inner decoder
    std::optional<error_count> post_fec_bits;  // after it
    std::optional<error_count> blocks;         // uncorrected blocks among all blocks
};

// Errors per unit over the time between two readings; empty where a counter is missing,
// went backwards (a new tuning started it again) or its total did not move.
struct error_rates {
    std::optional<double> pre_fec_ber;
    std::optional<double> post_fec_ber;
    std::optional<double> block_error_rate;
};
error_rates rates_between(const signal_statistics& earlier, const signal_statistics& later);

// Rates for a display polled several times a second: each reading is compared with the one
// that began the current period of about a second, which the period's end replaces.
class error_rate_tracker {
  public:
    static constexpr std::uint64_t period_ms = 1000;

    // The rates of the last full period; empty until one has passed.
    const error_rates& add(const signal_statistics& reading, std::uint64_t now_ms);

  private:
    std::optional<signal_statistics> start_;
    std::uint64_t start_ms_ = 0;
    error_rates rates_;
};

// "-34.2 dBm", "28.1 dB", "3.1e-05"; "n/a" for a value the card did not give.
std::string strength_text(const std::optional<double>& dbm);
std::string cnr_text(const std::optional<double>& db);
std::string rate_text(const std::optional<double>& rate);
// "Strength: -34.2 dBm  CNR: 28.1 dB", as far as the card gives them; "" for neither.
std::string decibel_summary(const signal_statistics& statistics);

}  // namespace kestrel
