#include "analysis/thresholds.h"

#include "settings/keys.h"

namespace kestrel::analysis {

namespace {

std::uint32_t positive(settings_store& store, const settings::int_key& key) {
    const std::int32_t value = settings::read(store, key);
    return static_cast<std::uint32_t>(value > 0 ? value : key.fallback);
}

}  // namespace

thresholds read_thresholds(settings_store& store) {
    return {positive(store, settings::analysis_pcr_interval_ms),
            positive(store, settings::analysis_pid_timeout_ms),
            positive(store, settings::analysis_interval_ms), positive(store, settings::analysis_kept_errors)};
}

}  // namespace kestrel::analysis
