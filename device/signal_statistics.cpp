#include "device/signal_statistics.h"

#include <cstdio>

namespace kestrel {

namespace {

std::optional<double> rate(const std::optional<error_count>& earlier,
                           const std::optional<error_count>& later) {
    if (!earlier || !later || later->total <= earlier->total || later->errors < earlier->errors) return {};
    return static_cast<double>(later->errors - earlier->errors) /
           static_cast<double>(later->total - earlier->total);
}

std::string formatted(const char* format, const std::optional<double>& value) {
    if (!value) return "n/a";
    char text[48];
    std::snprintf(text, sizeof text, format, *value);
    return text;
}

}  // namespace

error_rates rates_between(const signal_statistics& earlier, const signal_statistics& later) {
    return {rate(earlier.pre_fec_bits, later.pre_fec_bits), rate(earlier.post_fec_bits, later.post_fec_bits),
            rate(earlier.blocks, later.blocks)};
}

const error_rates& error_rate_tracker::add(const signal_statistics& reading, std::uint64_t now_ms) {
    if (!start_) {
        start_ = reading;
        start_ms_ = now_ms;
    } else if (now_ms - start_ms_ >= period_ms) {
        rates_ = rates_between(*start_, reading);
        start_ = reading;
        start_ms_ = now_ms;
    }
    return rates_;
}

std::string strength_text(const std::optional<double>& dbm) {
    return formatted("%.1f dBm", dbm);
}

std::string cnr_text(const std::optional<double>& db) {
    return formatted("%.1f dB", db);
}

std::string rate_text(const std::optional<double>& rate) {
    return formatted("%.1e", rate);
}

std::string decibel_summary(const signal_statistics& statistics) {
    std::string text;
    if (statistics.strength_dbm) text = "Strength: " + strength_text(statistics.strength_dbm);
    if (statistics.cnr_db)
        text += (text.empty() ? "" : "  ") + std::string("CNR: ") + cnr_text(statistics.cnr_db);
    return text;
}

}  // namespace kestrel
